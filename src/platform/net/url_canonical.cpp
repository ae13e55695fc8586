#include "platform/net/url_canonical.h"

#include <cstring>

namespace platform {

std::string CanonicalUrl(std::string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(url.size());
  for (const char c : url) {
    const auto b = static_cast<unsigned char>(c);
    const bool unsafe = b <= 0x20 || b >= 0x7F || (b != 0 && std::strchr("\"<>\\^`{|}", c) != nullptr);
    if (!unsafe) {
      out.push_back(c);
      continue;
    }
    out.push_back('%');
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0x0F]);
  }
  return out;
}

}  // namespace platform
