// The program's settings as a plain value: what the clan cycle, the launcher,
// the key bindings and the window read while the program runs. The settings
// file "quavik.ini" is where they rest between runs: Load reads every key,
// Save writes every key in one write of the file (both go through the key
// table of app/settings_file.h). The two rules of every save
// (the game directory's trailing separator and the scheme of the clan script
// URL) are the functions below; the one who saves applies them.
#pragma once
#include <QString>
#include <optional>

namespace app {

struct Settings {
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
  bool operator==(const Settings&) const = default;

  // Reads every key; a missing file or key gives its default.
  static Settings Load(const QString& path);

  // Writes every key in the save order (app/settings_file.h) with one write
  // of the file; it is never left half-written and a new one is readable by
  // its owner only (it holds passwords). Throws platform::IoError("Unable to
  // write to <path>") when the file can't be written.
  void Save(const QString& path) const;
};

inline constexpr int kDefaultWindowPosition = 40;
// The update interval's choices: 1 to 10 minutes, item index 0 to 9.
inline constexpr int kIntervalChoices = 10;

// `values` with each list index outside its list read as none (-1), as the
// setup panel shows it: the interval and game lists, and the three key
// lists of `keyChoices` entries each.
Settings WithinChoices(Settings values, int keyChoices);

// The game directory with its trailing separator; empty stays empty.
QString WithTrailingSeparator(const QString& directory);

// The clan script URL rule: nullopt when the text is acceptable as it is
// (empty, or beginning with "http://" or "https://" in any letter case),
// otherwise the corrected text with "http://" in front.
std::optional<QString> CorrectedScriptUrl(const QString& url);

// Texts of the program's own.
QString ScriptUrlCorrectionMessage();

}  // namespace app
