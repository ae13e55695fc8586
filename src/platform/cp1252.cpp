#include "platform/cp1252.h"

#include <array>

namespace platform {
namespace {

// Bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString FromCp1252(std::string_view bytes) {
  QString out;
  out.reserve(qsizetype(bytes.size()));
  for (unsigned char b : bytes) {
    out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b)));
  }
  return out;
}

std::string ToCp1252(const QString& text) {
  std::string out;
  out.reserve(size_t(text.size()));
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.push_back(char(u));
      continue;
    }
    char mapped = '?';
    for (size_t i = 0; i < kHigh.size(); ++i) {
      if (kHigh[i] == u) {
        mapped = char(0x80 + i);
        break;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

}  // namespace platform
