// The command line of the clan server. Every text given there (passwords,
// seeded members) is taken as UTF-8, as terminals and scripts write it, and
// kept as the Windows-1252 bytes the clients send; text that is not UTF-8 is
// kept byte for byte.
#pragma once
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "clan_script.h"
#include "http_limits.h"

namespace clan {

struct SeedMember {
  std::string name;
  std::string server;
  std::string map;
};

struct ServerOptions {
  std::string address = "0.0.0.0";
  int port = 8080;
  ScriptConfig script;
  HttpLimits http;
  std::string store = "memory";  // or redis://HOST:PORT[/DB]
  std::vector<SeedMember> seeds;
  bool help = false;
  std::vector<std::string> warnings;  // for standard error, one line each
};

// The variables of the process environment that the server reads.
using Environment = std::map<std::string, std::string>;

// Parses the arguments after the program name, together with the config file
// they name (--config) and the passwords in `environment`. An error text names
// the offending argument or line. A password on the command line works but
// leaves a warning: every user of the machine can read it there.
std::variant<ServerOptions, std::string> ParseOptions(const std::vector<std::string>& args,
                                                      const Environment& environment = {});

std::string HelpText();

// "90", "90s", "15m" or "2h"; a bare number counts seconds.
std::optional<std::chrono::seconds> ParseDuration(std::string_view text);

// "name|server|map" (map optional); the name must not be empty.
std::optional<SeedMember> ParseSeed(std::string_view text);

}  // namespace clan
