// Reads the fields of one Engine 2 datagram: little-endian int32, single
// bytes and strings (a compact-index length counting the closing NUL,
// negative for UCS-2 LE characters). A field that runs past the end of
// the datagram sets Failed() and reads as empty; nothing reads past the end.
#pragma once
#include <QString>
#include <cstdint>
#include <string_view>

namespace query {

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::int32_t Int32();
  std::uint8_t Byte();
  // The string's characters without the closing NUL and colour codes:
  // 8-bit strings as Windows-1252, UCS-2 strings as they are.
  QString String();

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  bool Failed() const { return failed_; }

 private:
  // The compact index: the first byte holds the sign (0x80), "more follows"
  // (0x40) and six bits; each further byte seven bits and "more" (0x80).
  std::int64_t CompactIndex();
  bool Need(size_t count);

  std::string_view bytes_;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace query
