#include "platform/net/ftp_listing.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Digits only, without sign, that fit in 63 bits.
std::optional<std::int64_t> Decimal(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::optional<std::int64_t> ParseFtpTime(std::string_view text) {
  if (text.size() < 14) return std::nullopt;
  const auto field = [&](std::size_t at, std::size_t n) { return Decimal(text.substr(at, n)); };
  const auto year = field(0, 4), month = field(4, 2), day = field(6, 2);
  const auto hour = field(8, 2), minute = field(10, 2), second = field(12, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  static constexpr int kDaysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (*month < 1 || *month > 12 || *day < 1 || *day > kDaysIn[*month - 1] || *hour > 23 || *minute > 59 ||
      *second > 60)
    return std::nullopt;
  const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
  if (*month == 2 && *day == 29 && !leap) return std::nullopt;
  return DaysFromCivil(*year, *month, *day) * 86400 + *hour * 3600 + *minute * 60 + *second;
}

std::optional<FtpListEntry> ParseMlsdLine(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos || space + 1 >= line.size()) return std::nullopt;
  FtpListEntry entry;
  entry.name.assign(line.substr(space + 1));
  std::string_view facts = line.substr(0, space);
  while (!facts.empty()) {
    const std::size_t semicolon = facts.find(';');
    const std::string_view fact = facts.substr(0, semicolon);
    facts = semicolon == std::string_view::npos ? std::string_view() : facts.substr(semicolon + 1);
    const std::size_t eq = fact.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = fact.substr(0, eq);
    const std::string_view value = fact.substr(eq + 1);
    if (EqualNoCase(key, "size")) entry.size = Decimal(value).value_or(-1);
    else if (EqualNoCase(key, "modify")) entry.modified = ParseFtpTime(value);
    else if (EqualNoCase(key, "type"))
      entry.isFile = !EqualNoCase(value, "dir") && !EqualNoCase(value, "cdir") && !EqualNoCase(value, "pdir");
  }
  return entry;
}

void FtpListingSearch::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (!overlong_) {
      if (line_.size() + piece.size() > kMaxLine) {
        overlong_ = true;
        line_.clear();
      } else {
        line_.append(piece);
      }
    }
    if (end == std::string_view::npos) return;
    if (!overlong_) Line(line_);
    line_.clear();
    overlong_ = false;
    bytes.remove_prefix(end + 1);
  }
}

std::optional<FtpListEntry> FtpListingSearch::Finish() {
  if (!overlong_ && !line_.empty()) Line(line_);
  line_.clear();
  overlong_ = false;
  return found_;
}

void FtpListingSearch::Line(std::string_view line) {
  // Lines end in CR LF, or in LF alone from servers that send local line ends.
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (found_ || line.empty()) return;
  std::optional<FtpListEntry> entry = ParseMlsdLine(line);
  if (entry && entry->isFile && entry->name == name_) found_ = std::move(entry);
}

}  // namespace platform
