#include "app/settings.h"

#include "game/game_profile.h"

namespace app {

Settings WithinChoices(Settings values, int keyChoices) {
  const auto within = [](int& index, int count) {
    if (index < 0 || index >= count) index = -1;
  };
  within(values.updateInterval, kIntervalChoices);
  within(values.gameIndex, game::GameCount());
  for (int* key : {&values.keyEcho, &values.keySay, &values.keyTeamsay}) within(*key, keyChoices);
  return values;
}

QString WithTrailingSeparator(const QString& directory) {
  if (directory.isEmpty() || directory.endsWith(QLatin1Char('/'))) return directory;
  return directory + QLatin1Char('/');
}

std::optional<QString> CorrectedScriptUrl(const QString& url) {
  if (url.isEmpty() || url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
      url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
    return std::nullopt;
  return QStringLiteral("http://") + url;
}

QString ScriptUrlCorrectionMessage() {
  return QStringLiteral(
      "Beachten Sie bitte, dass die Server-URL zwingend mit http:// beginnen muss. Da diese "
      "Angabe fehlt wird der Quavik diese voranstellen.");
}

}  // namespace app
