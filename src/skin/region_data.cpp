#include "skin/region_data.h"

#include <QRect>
#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kRectSize = 16;
constexpr std::uint32_t kRectangles = 1;

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

std::int32_t ReadI32(std::string_view bytes, std::size_t at) {
  return static_cast<std::int32_t>(ReadU32(bytes, at));
}

void AppendU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The exclusive right and bottom edges, computed without QRect::width(),
// which overflows for a rectangle wider than the int range.
void AppendRect(std::string& out, const QRect& r) {
  AppendU32(out, static_cast<std::uint32_t>(r.left()));
  AppendU32(out, static_cast<std::uint32_t>(r.top()));
  AppendU32(out, static_cast<std::uint32_t>(std::int64_t(r.right()) + 1));
  AppendU32(out, static_cast<std::uint32_t>(std::int64_t(r.bottom()) + 1));
}

}  // namespace

std::optional<QRegion> ParseRgnData(std::string_view rgnData) {
  if (rgnData.size() < kHeaderSize) return std::nullopt;
  if (ReadU32(rgnData, 0) != kHeaderSize || ReadU32(rgnData, 4) != kRectangles) return std::nullopt;
  const std::uint64_t count = ReadU32(rgnData, 8);
  if (count > (rgnData.size() - kHeaderSize) / kRectSize) return std::nullopt;

  QRegion region;
  std::int64_t minLeft = INT64_MAX, minTop = INT64_MAX, maxRight = INT64_MIN, maxBottom = INT64_MIN;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + static_cast<std::size_t>(i) * kRectSize;
    const std::int64_t left = ReadI32(rgnData, at), top = ReadI32(rgnData, at + 4);
    const std::int64_t right = ReadI32(rgnData, at + 8), bottom = ReadI32(rgnData, at + 12);
    if (right <= left || bottom <= top) continue;  // a rectangle without area adds nothing
    minLeft = std::min(minLeft, left), minTop = std::min(minTop, top);
    maxRight = std::max(maxRight, right), maxBottom = std::max(maxBottom, bottom);
    // The whole outline's bounds must be a rectangle of int size, as any
    // rectangle of the region must.
    if (maxRight - minLeft > INT32_MAX || maxBottom - minTop > INT32_MAX) return std::nullopt;
    region += QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                    static_cast<int>(bottom - top));
  }
  if (region.isEmpty()) return std::nullopt;
  return region;
}

std::string RgnDataOf(const QRegion& region) {
  if (region.isEmpty()) return {};
  std::string out;
  const auto count = static_cast<std::uint32_t>(region.rectCount());
  AppendU32(out, kHeaderSize);
  AppendU32(out, kRectangles);
  AppendU32(out, count);
  AppendU32(out, count * kRectSize);
  AppendRect(out, region.boundingRect());
  for (const QRect& r : region) AppendRect(out, r);
  return out;
}

std::optional<QRegion> ParseOutline(std::string_view stored) {
  if (stored.size() < 4) return std::nullopt;
  const std::uint64_t size = ReadU32(stored, 0);
  if (size == 0 || size > stored.size() - 4) return std::nullopt;
  return ParseRgnData(stored.substr(4, static_cast<std::size_t>(size)));
}

std::string SerializeOutline(const QRegion& region) {
  const std::string data = RgnDataOf(region);
  std::string out;
  AppendU32(out, static_cast<std::uint32_t>(data.size()));
  return out + data;
}
