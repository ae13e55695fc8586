// Text as servers send it, made fit for display: the 8-bit strings of the
// two protocols decoded, colour codes (0x1B R G B) and other control
// characters removed, broken characters replaced.
#pragma once
#include <QString>
#include <string_view>

namespace query {

// Text that shows as what it is, on a terminal, in a window and in JSON:
// control characters (C0, DEL, C1), the line and paragraph separators and
// the bidirectional embeddings, overrides and isolates (U+202A-202E,
// U+2066-2069) removed; a lone surrogate or a noncharacter (U+FDD0-FDEF,
// U+xFFFE, U+xFFFF) replaced by U+FFFD.
QString DisplayText(const QString& text);

// Removes every colour code (0x1B and the three characters after it, as
// many as there are), then makes the rest DisplayText.
QString WithoutColourCodes(const QString& text);

// Engine 1 values: Windows-1252, or UTF-8 where the bytes are valid UTF-8
// (UT 469c and later). Colour codes removed.
QString TextValue(std::string_view bytes);

// Engine 2 8-bit strings: Windows-1252. Colour codes removed.
QString Cp1252Value(std::string_view bytes);

// A number as servers write it: blanks or other characters in front are
// skipped ("  53", ".53"), an optional minus sign, then digits; anything
// after them ends it. Clamped to the int range; 0 when there are no digits.
int LenientNumber(std::string_view text);

}  // namespace query
