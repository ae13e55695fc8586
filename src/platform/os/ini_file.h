// Private-profile INI access with the semantics Windows and the games expect.
//  - Section and key names match without regard to letter case; blanks around
//    names and values are ignored; a value in a pair of quotes reads without
//    them; lines beginning with ';' are comments.
//  - A read returns the first matching key, cut at 2047 characters; a missing
//    file, section or key gives the default.
//  - A write replaces the value of the first matching key in place; a new key
//    goes after the last entry of its section; a new section goes at the end.
//    Every other byte of the file stays as it was. A new file has CR LF line
//    ends, and a line we add never ends in a bare CR. CR and LF in a value
//    are written as blanks, so a value is always one line.
//  - The file is replaced whole (never half-written, see safe_write.h) and
//    keeps its permissions; a new file gets `newFileMode`. Writing many keys
//    at once writes the file once.
//  - Every call opens and closes the file; nothing is cached.
//  - Line ends are kept as the file has them (CR LF from Windows builds, LF
//    from native Linux builds); a line we add ends like the file's lines.
// Text on disk is Windows-1252; a file that begins with a UTF-8 byte order
// mark is UTF-8 (read leniently, see cp1252.h) and keeps its mark. A mark is
// never added.
#pragma once
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

constexpr int kIniMaxValueLength = 2047;

QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue);

// Decimal with optional sign; "0x"/"0X" or "$" prefix for hexadecimal; the
// default for anything else. 32-bit signed.
int IniReadInteger(const QString& path, const QString& section, const QString& key,
                   int defaultValue);

// Throws platform::IoError("Unable to write to <path>") when the file can't be
// written; the file is then unchanged.
void IniWriteString(const QString& path, const QString& section, const QString& key,
                    const QString& value, int newFileMode = 0644);

struct IniEntry {
  QString section;
  QString key;
  QString value;
};
// Sets every entry in order, reading and writing the file once. Throws as
// above; then none of the entries is written.
void IniWriteStrings(const QString& path, const std::vector<IniEntry>& entries,
                     int newFileMode = 0644);

// The pure text edits behind the calls above, on the file's raw bytes.
std::string IniLookup(std::string_view content, std::string_view section, std::string_view key,
                      bool& found);
std::string IniSetValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace platform
