#include "sweep/player_match.h"

#include "query/display_text.h"

namespace sweep {

QString ComparableName(const QString& name) {
  return query::WithoutColourCodes(name).trimmed().normalized(QString::NormalizationForm_C).toCaseFolded();
}

bool NameMatches(const QString& wanted, const QString& playerName, bool contains) {
  const QString want = ComparableName(wanted);
  if (want.isEmpty()) return false;
  const QString have = ComparableName(playerName);
  return contains ? have.contains(want) : have == want;
}

}  // namespace sweep
