// The server's configuration file: one "key = value" per line, the keys being
// the long options without their dashes ("clan-pass = geheim"). Blank lines
// and lines starting with "#" are skipped; white space around key and value
// is dropped, and a value in double quotes is taken without them (so it may
// begin or end with blanks). A key may repeat where its option may.
#pragma once
#include <string>
#include <variant>
#include <vector>

namespace clan {

struct ConfigEntry {
  std::string key;
  std::string value;
  int line = 0;
};

struct ConfigFile {
  std::vector<ConfigEntry> entries;
  bool readableByOthers = false;  // users outside owner and group may read it
};

// Reads `path`; an error text names the file and, for a malformed line, its
// number.
std::variant<ConfigFile, std::string> ReadConfigFile(const std::string& path);

}  // namespace clan
