// The settings file "quavik.ini": which keys exist, their
// defaults, the order in which a save writes them, and the two rules applied
// on every save (the game directory's trailing separator and the scheme of
// the clan script URL). The in-memory home of the settings is the setup
// panel; these functions move values between the file and a plain struct.
#pragma once
#include <QString>
#include <optional>

namespace app {

struct SettingsValues {
  QString globalScriptUrl;  // MAIN Global-Script-URL
  QString globalPass;       // MAIN Global-Pass
  QString scriptUrl;        // MAIN Script-URL
  QString directory;        // MAIN Directory
  QString pass;             // MAIN Pass
  QString clansite;         // MAIN Clansite
  bool logSizeCheck = false;  // MAIN TOLogSizeCheck
  int updateInterval = 4;   // MAIN Update-Intervall, item index
  int gameIndex = 0;        // MAIN Programmversion, item index
  int keyEcho = -1;         // MAIN Keybinder
  int keySay = -1;          // MAIN Keybinder_say
  int keyTeamsay = -1;      // MAIN Keybinder_teamsay
  int xpos = 40;            // GUI XPOS
  int ypos = 40;            // GUI YPOS
  bool notify = true;       // GUI Notify: desktop notices when clan mates come online
  bool trayMinimize = false;  // GUI TrayMinimize: minimise into the tray instead of the task bar
  bool operator==(const SettingsValues&) const = default;
};

inline constexpr int kDefaultWindowPosition = 40;

// Reads every key; a missing file or key gives its default.
SettingsValues ReadSettingsFile(const QString& path);

// Writes every key in the save order (app/settings_keys.h) with one write of
// the file; it is never left half-written and a new one is readable by its
// owner only (it holds passwords). Throws platform::IoError("Unable to write
// to <path>") when the file can't be written.
void WriteSettingsFile(const QString& path, const SettingsValues& values);

// The game directory with its trailing separator; empty stays empty.
QString WithTrailingSeparator(const QString& directory);

// The clan script URL rule: nullopt when the text is acceptable as it is
// (empty, or beginning with "http://" or "https://" in any letter case),
// otherwise the corrected text with "http://" in front.
std::optional<QString> CorrectedScriptUrl(const QString& url);

// Texts of the program's own.
QString ScriptUrlCorrectionMessage();

}  // namespace app
