// Whether a player's name is the one looked for. Both names are compared as
// people read them: colour codes and other control characters removed, blanks
// at either end ignored, the same letters in composed form, letter case
// ignored (full Unicode case folding, so "ÄNNE" finds "änne"). A name
// matches when it is equal, or, with `contains`, when the wanted text is a
// part of it. An empty wanted name matches nothing.
//
// Names arrive decoded by the query readers (Windows-1252 or UTF-8 for the
// text query, 8-bit or UCS-2 for the binary one); the wanted name is what a
// user typed.
#pragma once
#include <QString>

namespace sweep {

// The form both sides are compared in.
QString ComparableName(const QString& name);

bool NameMatches(const QString& wanted, const QString& playerName, bool contains);

}  // namespace sweep
