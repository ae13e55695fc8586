// The URL routines on any text: the canonical form carries no byte a URL
// can't carry, and keeps every byte it may; the transfer's URL pieces come
// from the URL itself.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <QString>

#include "platform/text/cp1252.h"
#include "platform/net/url_canonical.h"
#include "transfer/url_routines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string canonical = platform::CanonicalUrl(bytes);
  for (const char c : canonical) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b >= 0x7F || std::strchr("\"<>\\^`{|}", c) != nullptr) std::abort();
  }
  if (platform::CanonicalUrl(canonical) != canonical) std::abort();

  const QString url = platform::FromCp1252(bytes);
  if (!url.contains(HostOfURL(url)) || !url.contains(PathOfURL(url)) || !url.contains(FileNameOfURL(url)))
    std::abort();
  (void)AddProxyCredentials(url, QStringLiteral("user"), QStringLiteral("pass"));
  (void)DirectoryPartOf(url);
  (void)JoinPath(url, url);
  return 0;
}
