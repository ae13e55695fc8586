// INI reading and editing on any file content. Besides staying within its
// memory, a write must read back: what the writer sets for a plain section
// and key is what the reader then finds, and setting it again changes
// nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/os/ini_file.h"

namespace {

// Names the reader can find again: no brackets, "=", ";" or line ends.
std::string PlainName(std::string_view raw, const char* fallback) {
  std::string name;
  for (char c : raw)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_') name += c;
  return name.empty() ? fallback : name;
}

// What the reader returns for a value: line breaks became blanks, blanks
// around it are dropped, a pair of enclosing quotes is removed.
std::string AsRead(std::string value) {
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!value.empty() && blank(value.front())) value.erase(0, 1);
  while (!value.empty() && blank(value.back())) value.pop_back();
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  if (value.size() > size_t(platform::kIniMaxValueLength)) value.resize(platform::kIniMaxValueLength);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Layout: section \0 key \0 value \0 file content.
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view parts[3];
  for (auto& part : parts) {
    const size_t zero = input.find('\0');
    if (zero == std::string_view::npos) return 0;
    part = input.substr(0, zero);
    input.remove_prefix(zero + 1);
  }
  const std::string section = PlainName(parts[0], "MAIN");
  const std::string key = PlainName(parts[1], "Pass");
  const std::string value(parts[2]);
  const std::string_view content = input;

  bool found = false;
  (void)platform::IniLookup(content, parts[0], parts[1], found);
  (void)platform::IniSetValue(content, parts[0], parts[1], parts[2]);

  const std::string once = platform::IniSetValue(content, section, key, value);
  const std::string back = platform::IniLookup(once, section, key, found);
  if (!found || back != AsRead(value)) std::abort();
  if (platform::IniSetValue(once, section, key, value) != once) std::abort();
  return 0;
}
