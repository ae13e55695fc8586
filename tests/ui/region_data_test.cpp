// The stored outline: regions survive a write and a read, the written bytes
// have the documented layout, and malformed data is refused without reading
// past its end.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "skin/region_data.h"

namespace {

std::string U32(std::uint32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
  return out;
}

std::string Ints(std::initializer_list<std::int64_t> values) {
  std::string out;
  for (std::int64_t v : values) out += U32(std::uint32_t(v));
  return out;
}

// A "Mask2" block: N, then the RGNDATA header and `rects` (each 4 ints).
std::string Block(std::uint32_t dwSize, std::uint32_t iType, std::uint32_t nCount, const std::string& rects) {
  const std::string data = Ints({dwSize, iType, nCount, nCount * 16, 0, 0, 10, 10}) + rects;
  return U32(std::uint32_t(data.size())) + data;
}

QRegion Rects(std::initializer_list<QRect> rects) {
  QRegion region;
  for (const QRect& r : rects) region += r;
  return region;
}

TEST(StoredOutline, RegionsSurviveWriteAndRead) {
  const QRegion cases[] = {
      Rects({{0, 0, 299, 399}}),
      Rects({{0, 0, 100, 10}, {0, 10, 40, 30}}),             // an L shape
      Rects({{5, 5, 10, 10}, {50, 60, 20, 5}}),              // two islands
      Rects({{-20, -5, 30, 15}}),                            // partly off the window
      Rects({{-1000000000, 0, 10, 10}, {1000000000, INT32_MAX - 20, 10, 10}}),  // far, but in range
      Rects({{0, 0, 299, 399}}).subtracted(Rects({{0, 0, 6, 6}, {293, 0, 6, 6}})),  // clipped corners
  };
  for (const QRegion& region : cases) {
    const std::optional<QRegion> back = ParseOutline(SerializeOutline(region));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, region);
  }
}

TEST(StoredOutline, WrittenBytesFollowTheRgnDataLayout) {
  const std::string bytes = SerializeOutline(Rects({{1, 2, 3, 4}, {10, 20, 5, 5}}));
  EXPECT_EQ(bytes, U32(64) + Ints({32, 1, 2, 32, 1, 2, 15, 25}) + Ints({1, 2, 4, 6}) + Ints({10, 20, 15, 25}));
  EXPECT_EQ(SerializeOutline(QRegion()), U32(0));
}

TEST(StoredOutline, NoOutlineAndMalformedDataGiveNoRegion) {
  const std::string oneRect = Ints({0, 0, 10, 10});
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"count cut short", "\x20\x00\x00"},
      {"no outline (N = 0)", U32(0)},
      {"N larger than the block", U32(48) + Ints({32, 1, 1, 16, 0, 0, 10, 10})},
      {"region data shorter than its header", U32(8) + Ints({32, 1})},
      {"wrong header size", Block(40, 1, 1, oneRect)},
      {"not a rectangle region", Block(32, 2, 1, oneRect)},
      {"more rectangles than the block holds", Block(32, 1, 2, oneRect)},
      {"rectangle count that overflows", Block(32, 1, 0xFFFFFFFFu, oneRect)},
      {"rectangle count but no rectangles", Block(32, 1, 1, "")},
      {"no rectangles at all", Block(32, 1, 0, "")},
      {"only rectangles without area", Block(32, 1, 2, Ints({5, 5, 5, 9}) + Ints({9, 9, 1, 1}))},
      // Each rectangle fits, but the outline's bounds don't fit an int.
      {"rectangles far apart across", Block(32, 1, 2, Ints({-2000000000, 0, -1999999990, 10}) +
                                                          Ints({2000000000, 0, 2000000010, 10}))},
      {"rectangles far apart down", Block(32, 1, 2, Ints({0, INT32_MIN, 10, INT32_MIN + 10}) +
                                                        Ints({0, INT32_MAX - 10, 10, INT32_MAX}))},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ParseOutline(c.bytes).has_value()) << c.name;
  }
}

TEST(StoredOutline, RectanglesWithoutAreaAreSkipped) {
  const std::optional<QRegion> region =
      ParseOutline(Block(32, 1, 2, Ints({5, 5, 5, 9}) + Ints({0, 0, 10, 10})));
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, Rects({{0, 0, 10, 10}}));
}

}  // namespace
