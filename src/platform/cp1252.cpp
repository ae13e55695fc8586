#include "platform/cp1252.h"

#include "platform/win1252_table.h"

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

}  // namespace platform
