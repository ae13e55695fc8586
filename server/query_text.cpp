#include "query_text.h"

namespace clan {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeUrlText(std::string_view text, bool plusIsBlank) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += plusIsBlank && c == '+' ? ' ' : c;
  }
  return out;
}

Query ParseQuery(std::string_view query) {
  Query out;
  while (!query.empty()) {
    const size_t end = query.find('&');
    const std::string_view piece = query.substr(0, end);
    query = end == std::string_view::npos ? std::string_view() : query.substr(end + 1);
    if (piece.empty()) continue;
    const size_t equals = piece.find('=');
    const std::string_view key = piece.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : piece.substr(equals + 1);
    out.emplace(DecodeUrlText(key, true), DecodeUrlText(value, true));
  }
  return out;
}

}  // namespace clan
