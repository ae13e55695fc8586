// The stored window outline ("Mask2"): a 4-byte little-endian byte count N,
// then N bytes of a rectangle region in the RGNDATA layout:
//   header (32 bytes): dwSize = 32, iType = 1 (rectangles), nCount,
//                      nRgnSize, bounding rectangle (left, top, right, bottom)
//   nCount rectangles: left, top, right, bottom
// every field a little-endian 32-bit integer; right and bottom are exclusive.
// N = 0 means "no outline". These are pure functions without a window.
#pragma once
#include <QRegion>
#include <optional>
#include <string>
#include <string_view>

// The region of an RGNDATA block. nullopt for anything malformed: a block
// shorter than its header, a header other than (32, 1), more rectangles than
// the block holds, bounds wider or taller than the int range, or a region
// without any area (which would hide the window).
std::optional<QRegion> ParseRgnData(std::string_view rgnData);

// RGNDATA of a region (header with nRgnSize = nCount * 16 and the bounding
// rectangle, then the rectangles). An empty region gives an empty block.
std::string RgnDataOf(const QRegion& region);

// The outline of a stored "Mask2" block: nullopt when N is 0, when the block
// holds fewer than 4 + N bytes, or when the region data is malformed.
std::optional<QRegion> ParseOutline(std::string_view stored);

// The "Mask2" block of a region; 4 zero bytes for an empty region.
std::string SerializeOutline(const QRegion& region);
