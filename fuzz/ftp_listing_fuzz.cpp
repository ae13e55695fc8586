// The FTP listing reader on any bytes: the entry found does not depend on
// where the listing was cut into pieces, it is one of the listing's lines,
// and its size and date are byte counts and real times or absent.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/net/ftp_listing.h"

namespace {

std::optional<platform::FtpListEntry> Search(std::string_view listing, std::size_t pieces) {
  platform::FtpListingSearch search("x.bin");
  const std::size_t step = pieces == 0 ? listing.size() + 1 : listing.size() / pieces + 1;
  for (std::size_t at = 0; at < listing.size(); at += step) search.Feed(listing.substr(at, step));
  return search.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view listing(reinterpret_cast<const char*>(data), size);
  const std::optional<platform::FtpListEntry> whole = Search(listing, 0);
  for (const std::size_t pieces : {2u, 7u, 64u}) {
    const std::optional<platform::FtpListEntry> cut = Search(listing, pieces);
    if (whole.has_value() != cut.has_value()) std::abort();
    if (whole && (whole->size != cut->size || whole->modified != cut->modified)) std::abort();
  }
  if (whole) {
    if (whole->name != "x.bin" || !whole->isFile || listing.find(" x.bin") == std::string_view::npos) std::abort();
    if (whole->size && *whole->size < -1) std::abort();
  }
  const std::size_t end = listing.find('\n');
  if (const std::optional<platform::FtpListEntry> line = platform::ParseMlsdLine(listing.substr(0, end))) {
    if (line->name.empty() || listing.find(line->name) == std::string_view::npos) std::abort();
    if (line->modified && (*line->modified < -62167219200 || *line->modified > 253402300800)) std::abort();
  }
  return 0;
}
