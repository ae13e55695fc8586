#include "app/settings.h"

#include "platform/ini_file.h"

namespace app {
namespace {

const QString kMain = QStringLiteral("MAIN");
const QString kGui = QStringLiteral("GUI");
constexpr int kOwnerOnly = 0600;

}  // namespace

SettingsValues ReadSettingsFile(const QString& path) {
  using platform::IniReadInteger;
  using platform::IniReadString;
  SettingsValues v;
  v.globalScriptUrl = IniReadString(path, kMain, "Global-Script-URL", "");
  v.globalPass = IniReadString(path, kMain, "Global-Pass", "");
  v.scriptUrl = IniReadString(path, kMain, "Script-URL", "");
  v.directory = IniReadString(path, kMain, "Directory", "");
  v.pass = IniReadString(path, kMain, "Pass", "");
  v.clansite = IniReadString(path, kMain, "Clansite", "");
  v.logSizeCheck = IniReadInteger(path, kMain, "TOLogSizeCheck", 0) != 0;
  v.updateInterval = IniReadInteger(path, kMain, "Update-Intervall", 4);
  v.gameIndex = IniReadInteger(path, kMain, "Programmversion", 0);
  v.keyEcho = IniReadInteger(path, kMain, "Keybinder", -1);
  v.keySay = IniReadInteger(path, kMain, "Keybinder_say", -1);
  v.keyTeamsay = IniReadInteger(path, kMain, "Keybinder_teamsay", -1);
  v.xpos = IniReadInteger(path, kGui, "XPOS", kDefaultWindowPosition);
  v.ypos = IniReadInteger(path, kGui, "YPOS", kDefaultWindowPosition);
  v.notify = IniReadInteger(path, kGui, "Notify", 1) != 0;
  return v;
}

void WriteSettingsFile(const QString& path, const SettingsValues& v) {
  std::vector<platform::IniEntry> entries;
  const auto write = [&](const QString& section, const char* key, const QString& value) {
    entries.push_back({section, QString::fromLatin1(key), value});
  };
  const auto number = [](int n) { return QString::number(n); };
  write(kMain, "Global-Script-URL", v.globalScriptUrl);
  write(kMain, "Global-Pass", v.globalPass);
  write(kMain, "Script-URL", v.scriptUrl);
  write(kMain, "Directory", v.directory);
  write(kMain, "Pass", v.pass);
  write(kMain, "Update-Intervall", number(v.updateInterval));
  write(kMain, "Clansite", v.clansite);
  write(kMain, "TOLogSizeCheck", v.logSizeCheck ? QStringLiteral("1") : QStringLiteral("0"));
  write(kGui, "XPOS", number(v.xpos));
  write(kGui, "YPOS", number(v.ypos));
  write(kGui, "Notify", v.notify ? QStringLiteral("1") : QStringLiteral("0"));
  write(kMain, "Programmversion", number(v.gameIndex));
  write(kMain, "Keybinder", number(v.keyEcho));
  write(kMain, "Keybinder_say", number(v.keySay));
  write(kMain, "Keybinder_teamsay", number(v.keyTeamsay));
  platform::IniWriteStrings(path, entries, kOwnerOnly);
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
