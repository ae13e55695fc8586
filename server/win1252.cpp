#include "win1252.h"

#include "platform/text/win1252_table.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace clan {
namespace {

using win1252::ByteOf;
using win1252::CodePointOf;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes `text` into code points; nothing when it is not well-formed UTF-8
// (overlong forms, surrogates and stray continuation bytes included).
std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view text) {
  std::vector<char32_t> cps;
  cps.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + extra >= text.size() && extra > 0) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (extra > 0 && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
      return std::nullopt;
    }
    cps.push_back(cp);
    i += extra + 1;
  }
  return cps;
}

}  // namespace

std::string Win1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char c : bytes) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
  return out;
}

bool IsUtf8(std::string_view text) { return DecodeUtf8(text).has_value(); }

std::string Utf8ToWin1252(std::string_view text) {
  const auto cps = DecodeUtf8(text);
  if (!cps) return std::string(text);
  std::string out;
  out.reserve(cps->size());
  for (char32_t cp : *cps) {
    const auto byte = ByteOf(cp);
    out += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

}  // namespace clan
