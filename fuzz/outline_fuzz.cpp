// The stored window outline: any bytes parse without reading past their
// end, and an outline that parses is written back as data that parses to
// the same region.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/region_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view stored(reinterpret_cast<const char*>(data), size);
  const std::optional<QRegion> region = ParseOutline(stored);
  (void)ParseRgnData(stored);
  if (!region) return 0;
  const std::optional<QRegion> back = ParseOutline(SerializeOutline(*region));
  if (!back || *back != *region) std::abort();
  return 0;
}
