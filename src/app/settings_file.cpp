// The settings file: its key table, and Settings::Load and Settings::Save,
// which go through it.
#include "app/settings_file.h"

#include "platform/os/ini_file.h"

namespace app {

namespace {

const QString kMain = QStringLiteral("MAIN");
const QString kGui = QStringLiteral("GUI");
constexpr int kOwnerOnly = 0600;

}  // namespace

const std::vector<SettingKey>& SettingKeys() {
  using V = Settings;
  static const std::vector<SettingKey> keys{
      {kMain, "Global-Script-URL", 0, &V::globalScriptUrl},
      {kMain, "Global-Pass", 0, &V::globalPass},
      {kMain, "Script-URL", 0, &V::scriptUrl},
      {kMain, "Directory", 0, &V::directory},
      {kMain, "Pass", 0, &V::pass},
      {kMain, "Update-Intervall", 4, &V::updateInterval},
      {kMain, "Clansite", 0, &V::clansite},
      {kMain, "TOLogSizeCheck", 0, &V::logSizeCheck},
      {kGui, "XPOS", kDefaultWindowPosition, &V::xpos},
      {kGui, "YPOS", kDefaultWindowPosition, &V::ypos},
      {kGui, "Notify", 1, &V::notify},
      {kGui, "TrayMinimize", 0, &V::trayMinimize},
      {kMain, "Programmversion", 0, &V::gameIndex},
      {kMain, "Keybinder", -1, &V::keyEcho},
      {kMain, "Keybinder_say", -1, &V::keySay},
      {kMain, "Keybinder_teamsay", -1, &V::keyTeamsay},
  };
  return keys;
}

Settings Settings::Load(const QString& path) {
  Settings v;
  for (const SettingKey& k : SettingKeys()) {
    if (const auto* text = std::get_if<QString Settings::*>(&k.field)) {
      v.*(*text) = platform::IniReadString(path, k.section, k.key, QString());
    } else if (const auto* flag = std::get_if<bool Settings::*>(&k.field)) {
      v.*(*flag) = platform::IniReadInteger(path, k.section, k.key, k.defaultNumber) != 0;
    } else {
      v.*std::get<int Settings::*>(k.field) = platform::IniReadInteger(path, k.section, k.key, k.defaultNumber);
    }
  }
  return v;
}

// Every save of the settings file goes through here.
void Settings::Save(const QString& path) const {
  const Settings& v = *this;
  std::vector<platform::IniEntry> entries;
  for (const SettingKey& k : SettingKeys()) {
    QString value;
    if (const auto* text = std::get_if<QString Settings::*>(&k.field)) {
      value = v.*(*text);
    } else if (const auto* flag = std::get_if<bool Settings::*>(&k.field)) {
      value = v.*(*flag) ? QStringLiteral("1") : QStringLiteral("0");
    } else {
      value = QString::number(v.*std::get<int Settings::*>(k.field));
    }
    entries.push_back({k.section, k.key, value});
  }
  platform::IniWriteStrings(path, entries, kOwnerOnly);
}

}  // namespace app
