#include "app/startup.h"

namespace app {

bool IsLogSwitch(const QStringList& arguments) {
  if (arguments.isEmpty()) return false;
  // Upper-case ASCII letters only, as the command line was always compared.
  QString first = arguments.first();
  for (QChar& c : first)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
  return first == QLatin1String("LOG");
}

bool IsSetupIncomplete(const QString& scriptUrl, const QString& pass, const QString& gameDir) {
  return scriptUrl.isEmpty() || pass.isEmpty() || gameDir.isEmpty();
}

QString FirstStartMessage() {
  return QStringLiteral("Hallo und willkommen beim Quavik ") + kVersionText +
         QStringLiteral(
             ". Dem Anschein nach ist dies Dein erster Start der Software, zumindest fehlen "
             "diverse wichtige Einstellungen im gleich angezeigten Setup. Bitte vervollständige "
             "die Angaben zum Spiel & Server...");
}

QString CloseQuestion() {
  return QStringLiteral(
      "Achtung: der Quavik ist noch aktiv! Soll Ihr Eintrag auf \"offline\" zurückgesetzt "
      "werden? Anderenfalls werden Sie weiterhin als \"aktiv\" in der Onlineübersicht geführt.");
}

}  // namespace app
