#include "query/display_text.h"

#include <cstdint>
#include <limits>
#include <string>

#include "platform/cp1252.h"

namespace query {

QString WithoutColourCodes(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (c == 0x1B) {
      i += 3;  // R G B
      continue;
    }
    if (c < 0x20) continue;
    out.append(text.at(i));
  }
  return out;
}

namespace {

// The colour bytes go before decoding: as UTF-8, three of them may read as
// fewer characters.
std::string WithoutColourBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\x1B') {
      i += 3;
      continue;
    }
    out.push_back(bytes[i]);
  }
  return out;
}

}  // namespace

QString TextValue(std::string_view bytes) {
  return WithoutColourCodes(platform::FromUtf8Lenient(WithoutColourBytes(bytes)));
}

QString Cp1252Value(std::string_view bytes) { return WithoutColourCodes(platform::FromCp1252(WithoutColourBytes(bytes))); }

int LenientNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] != '-' && (text[i] < '0' || text[i] > '9')) ++i;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<int>::max()) {
      value = std::numeric_limits<int>::max();
      break;
    }
  }
  return int(negative ? -value : value);
}

}  // namespace query
