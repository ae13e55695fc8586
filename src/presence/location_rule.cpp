#include "presence/location_rule.h"

#include <QLocale>

#include "platform/text/cp1252.h"
#include "platform/text/substring.h"

namespace presence {

using platform::Copy;
using platform::Pos;

bool IsPlaceholderPlayerName(const QString& name) {
  const QLocale locale = QLocale::system();
  return locale.toUpper(name).contains(locale.toUpper(QStringLiteral("s_SWAT")));
}

void SettleState(PlayerLocation& location, bool searching, bool offline,
                 const std::function<QString()>& playerName) {
  const auto setState = [&](const QString& placeholder) {
    location.name = playerName();
    location.server = placeholder;
    location.map = placeholder;
  };
  if (searching) setState(kSearchingPlaceholder);
  if (offline) setState(kOfflinePlaceholder);
  const QString log = QStringLiteral("Log:");
  if (IsPlaceholderPlayerName(location.name) || location.map.contains(log) ||
      location.name.contains(log) || location.map.contains(QStringLiteral("entry.unr"))) {
    setState(kSearchingPlaceholder);
  }
}

PlayerLocation LocationFromLogLine(std::string_view line, bool offline,
                                   const std::function<QString()>& playerName,
                                   platform::TextEncoding encoding) {
  const long long length = static_cast<long long>(line.size());
  const long long slash = Pos("/", line);
  const long long question = Pos("?", line);
  const std::string_view rest = Copy(line, Pos("=", line) + 1, length);

  PlayerLocation location{
      platform::Decode(Copy(rest, 1, Pos("?", rest) - 1), encoding),
      platform::Decode(Copy(line, 15, slash - 15), encoding),
      platform::Decode(Copy(line, slash + 1, question - slash - 1), encoding),
  };
  SettleState(location, Copy(rest, 1, 13) == "Exit: Exiting", offline, playerName);
  return location;
}

}  // namespace presence
