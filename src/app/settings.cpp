#include "app/settings.h"

#include "app/settings_keys.h"
#include "platform/ini_file.h"

namespace app {
namespace {

const QString kMain = QStringLiteral("MAIN");
const QString kGui = QStringLiteral("GUI");
constexpr int kOwnerOnly = 0600;

}  // namespace

const std::vector<SettingKey>& SettingKeys() {
  using V = SettingsValues;
  static const std::vector<SettingKey> keys{
      {kMain, "Global-Script-URL", 0, &V::globalScriptUrl, "set_globalserver"},
      {kMain, "Global-Pass", 0, &V::globalPass, "set_globalpass"},
      {kMain, "Script-URL", 0, &V::scriptUrl, "set_server"},
      {kMain, "Directory", 0, &V::directory, "set_todir"},
      {kMain, "Pass", 0, &V::pass, "set_pass"},
      {kMain, "Update-Intervall", 4, &V::updateInterval, "set_intervall"},
      {kMain, "Clansite", 0, &V::clansite, "set_clansite"},
      {kMain, "TOLogSizeCheck", 0, &V::logSizeCheck, "set_logkill"},
      {kGui, "XPOS", kDefaultWindowPosition, &V::xpos, ""},
      {kGui, "YPOS", kDefaultWindowPosition, &V::ypos, ""},
      {kGui, "Notify", 1, &V::notify, "set_notify"},
      {kGui, "TrayMinimize", 0, &V::trayMinimize, "set_traymin"},
      {kMain, "Programmversion", 0, &V::gameIndex, "set_retailmod"},
      {kMain, "Keybinder", -1, &V::keyEcho, "set_keybinder_echo"},
      {kMain, "Keybinder_say", -1, &V::keySay, "set_keybinder_say"},
      {kMain, "Keybinder_teamsay", -1, &V::keyTeamsay, "set_keybinder_teamsay"},
  };
  return keys;
}

SettingsValues ReadSettingsFile(const QString& path) {
  SettingsValues v;
  for (const SettingKey& k : SettingKeys()) {
    if (const auto* text = std::get_if<QString SettingsValues::*>(&k.field)) {
      v.*(*text) = platform::IniReadString(path, k.section, k.key, QString());
    } else if (const auto* flag = std::get_if<bool SettingsValues::*>(&k.field)) {
      v.*(*flag) = platform::IniReadInteger(path, k.section, k.key, k.defaultNumber) != 0;
    } else {
      v.*std::get<int SettingsValues::*>(k.field) = platform::IniReadInteger(path, k.section, k.key, k.defaultNumber);
    }
  }
  return v;
}

// Every save of the settings file goes through here.
void WriteSettingsFile(const QString& path, const SettingsValues& v) {
  std::vector<platform::IniEntry> entries;
  for (const SettingKey& k : SettingKeys()) {
    QString value;
    if (const auto* text = std::get_if<QString SettingsValues::*>(&k.field)) {
      value = v.*(*text);
    } else if (const auto* flag = std::get_if<bool SettingsValues::*>(&k.field)) {
      value = v.*(*flag) ? QStringLiteral("1") : QStringLiteral("0");
    } else {
      value = QString::number(v.*std::get<int SettingsValues::*>(k.field));
    }
    entries.push_back({k.section, k.key, value});
  }
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
