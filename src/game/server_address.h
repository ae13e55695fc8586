// Whether a roster or bookmark text names a server the game can join: the
// part before the first ":" (a port or anything else after it is ignored)
// must be a dotted IPv4 address of exactly four decimal parts, each written
// without leading zeros ("0" itself is fine) and below 256; 0.0.0.0 is
// refused, and so are 255.255.255.x broadcasts with x > 0 unless
// `allowBroadcast`. No blanks are tolerated anywhere.
#pragma once
#include <QString>

namespace game {

bool IsValidServerIP(const QString& text, bool allowBroadcast);

}  // namespace game
