// The two substring operations the game's text formats are split with, with
// their exact edge rules. Positions count from 1.
//  - Pos(x, s): position of the first occurrence of x in s; 0 when none
//    (and for an empty x).
//  - Copy(s, i, n): n characters of s from position i; an i below 1 counts as
//    1; an i past the end or an n below 1 gives ""; an n reaching past the end
//    is cut there.
// Byte versions serve raw Windows-1252 text (one byte is one character).
#pragma once
#include <QString>
#include <string_view>

namespace platform {

long long Pos(std::string_view needle, std::string_view text);
std::string_view Copy(std::string_view text, long long index, long long count);

qsizetype Pos(const QString& needle, const QString& text);
QString Copy(const QString& text, qsizetype index, qsizetype count);

}  // namespace platform
