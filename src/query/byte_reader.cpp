#include "query/byte_reader.h"

#include "query/display_text.h"

namespace query {

bool ByteReader::Need(size_t count) {
  if (failed_ || count > bytes_.size() - pos_) {
    failed_ = true;
    return false;
  }
  return true;
}

std::int32_t ByteReader::Int32() {
  if (!Need(4)) return 0;
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= std::uint32_t(std::uint8_t(bytes_[pos_ + i])) << (8 * i);
  pos_ += 4;
  return std::int32_t(value);
}

std::uint8_t ByteReader::Byte() {
  if (!Need(1)) return 0;
  return std::uint8_t(bytes_[pos_++]);
}

std::int64_t ByteReader::CompactIndex() {
  const std::uint8_t first = Byte();
  std::int64_t value = first & 0x3F;
  bool more = first & 0x40;
  for (int shift = 6; more && shift <= 27 && !failed_; shift += 7) {
    const std::uint8_t next = Byte();
    value |= std::int64_t(next & 0x7F) << shift;
    more = next & 0x80;
  }
  return (first & 0x80) ? -value : value;
}

QString ByteReader::String() {
  const std::int64_t length = CompactIndex();
  if (failed_) return {};
  if (length >= 0) {
    if (!Need(size_t(length))) return {};
    std::string_view chars = bytes_.substr(pos_, size_t(length));
    pos_ += size_t(length);
    while (!chars.empty() && chars.back() == '\0') chars.remove_suffix(1);
    return Cp1252Value(chars);
  }
  const std::int64_t count = -length;
  if (count > std::int64_t(bytes_.size()) || !Need(size_t(count) * 2)) {
    failed_ = true;
    return {};
  }
  QString text;
  text.reserve(qsizetype(count));
  for (std::int64_t i = 0; i < count; ++i) {
    const char16_t c = char16_t(std::uint8_t(bytes_[pos_]) | (std::uint8_t(bytes_[pos_ + 1]) << 8));
    pos_ += 2;
    text.append(QChar(c));
  }
  while (!text.isEmpty() && text.back().unicode() == 0) text.chop(1);
  return WithoutColourCodes(text);
}

}  // namespace query
