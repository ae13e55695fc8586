#include "platform/text/cp1252.h"

#include "platform/text/win1252_table.h"

namespace platform {

QString FromCp1252(std::string_view bytes) {
  QString out;
  out.reserve(qsizetype(bytes.size()));
  for (unsigned char b : bytes) {
    out.append(QChar(char16_t(win1252::CodePointOf(b))));
  }
  return out;
}

std::string ToCp1252(const QString& text) {
  std::string out;
  out.reserve(size_t(text.size()));
  for (QChar c : text) {
    out.push_back(char(win1252::ByteOf(c.unicode()).value_or('?')));
  }
  return out;
}

namespace {

// Length of the valid UTF-8 sequence at the start of `s`, 0 when there is none
// (a stray continuation byte, a cut or overlong sequence, a surrogate, a code
// point beyond U+10FFFF).
size_t Utf8SequenceLength(std::string_view s) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const auto continuation = [&](size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;  // overlong
    if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;  // overlong
    if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // beyond U+10FFFF
    return 4;
  }
  return 0;
}

}  // namespace

QString FromUtf8Lenient(std::string_view bytes) {
  QString out;
  out.reserve(qsizetype(bytes.size()));
  while (!bytes.empty()) {
    const size_t length = Utf8SequenceLength(bytes);
    if (length == 0) {
      out.append(QChar(char16_t(win1252::CodePointOf(static_cast<unsigned char>(bytes.front())))));
      bytes.remove_prefix(1);
      continue;
    }
    out.append(QString::fromUtf8(bytes.data(), qsizetype(length)));
    bytes.remove_prefix(length);
  }
  return out;
}

TextEncoding EncodingOf(std::string_view fileStart) {
  return fileStart.starts_with(kUtf8Bom) ? TextEncoding::Utf8 : TextEncoding::Cp1252;
}

QString Decode(std::string_view bytes, TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ? FromUtf8Lenient(bytes) : FromCp1252(bytes);
}

std::string Encode(const QString& text, TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ? text.toStdString() : ToCp1252(text);
}

}  // namespace platform
