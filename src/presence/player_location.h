// Where the player is: the answer of the game log scan that every presence
// report carries. Server and map hold either what the game log says or one of
// the two placeholders, which are sent exactly as they stand.
#pragma once
#include <QString>

namespace presence {

struct PlayerLocation {
  QString name;
  QString server;
  QString map;
  bool operator==(const PlayerLocation&) const = default;
};

inline const QString kSearchingPlaceholder = QStringLiteral("<i>Sucht Server...</i>");
inline const QString kOfflinePlaceholder = QStringLiteral("<i>offline</i>");

}  // namespace presence
