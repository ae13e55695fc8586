// The Windows-1252 code page as one table, without Qt, shared by the program
// and the clan server. Bytes below 0x80 and from 0xA0 up are their own code
// points (ASCII and Latin-1); the bytes 0x80 to 0x9F map as below, where the
// five bytes without a character (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for
// the control characters of the same number, as Windows reads them.
#pragma once
#include <array>
#include <cstddef>
#include <optional>

namespace win1252 {

inline constexpr std::array<char32_t, 32> kHighBytes = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t CodePointOf(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighBytes[byte - 0x80] : char32_t(byte);
}

// The byte of a code point; nothing when the code page has none.
constexpr std::optional<unsigned char> ByteOf(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<unsigned char>(codePoint);
  for (std::size_t i = 0; i < kHighBytes.size(); ++i) {
    if (kHighBytes[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace win1252
