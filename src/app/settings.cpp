#include "app/settings.h"

namespace app {

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
