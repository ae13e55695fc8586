#include "query/display_text.h"

#include <cstdint>
#include <limits>
#include <string>

#include "platform/text/cp1252.h"

namespace query {

namespace {

bool IsRemoved(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

bool IsNonCharacter(char32_t c) { return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE; }

}  // namespace

QString DisplayText(const QString& text) {
  constexpr QChar kReplacement(0xFFFD);
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    char32_t code = c;
    qsizetype units = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
      code = QChar::surrogateToUcs4(c, text.at(i + 1).unicode());
      units = 2;
    } else if (QChar::isSurrogate(c)) {
      out.append(kReplacement);
      continue;
    }
    if (IsNonCharacter(code)) out.append(kReplacement);
    else if (!IsRemoved(code)) out.append(text.constData() + i, units);
    i += units - 1;
  }
  return out;
}

QString WithoutColourCodes(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i).unicode() == 0x1B) {
      i += 3;  // R G B
      continue;
    }
    out.append(text.at(i));
  }
  return DisplayText(out);
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
