// The in-game roster: three exec scripts in the game's system directory, one
// console command each followed by the RosterSummary, and key bindings in the
// user INI's "Engine.Input" section that run them.
//   echo    quavik_echo.txt     "EXEC quavik_echo.txt"
//   say     quavik_say.txt      "EXEC quavik_say.txt"
//   teamsay quavik_teamsay.txt  "EXEC quavik_teamsay.txt"
#pragma once
#include <QString>
#include <cstdint>
#include <string>

#include "platform/os/activity_log.h"

namespace game {

// Binds the key of each list index above 0 (an index of 0, below, or past
// the key list binds nothing) in the order echo, say, teamsay, so a key
// chosen twice ends with the later action. Only those keys' lines change, in
// one write of the file; a missing user INI is left alone without a message. An INI write failure
// raises platform::IoError. "Erstellung Keybinder in (TO)User.ini" lines.
void WriteKeyBindings(const QString& userIniPath, int echoIndex, int teamsayIndex, int sayIndex,
                      const platform::ActivityLog& log);

// The bytes of one exec script: command + " " + summary + CR LF, in
// Windows-1252. Characters below 32 in the summary become blanks, so text
// from the roster can't end the line and slip a second command to the game.
std::string ExecScriptBytes(const QString& command, const QString& rosterSummary);

// Rewrites quavik_echo.txt, quavik_say.txt and quavik_teamsay.txt in each
// of `scriptDirs` (found without regard to letter case). A script that can't
// be written is skipped; the others are still tried. "Erstellung
// EXEC-Scripts" lines.
void WriteExecScripts(const QStringList& scriptDirs, const QString& rosterSummary,
                      const platform::ActivityLog& log);

// Removes the temporary files a killed save left beside the user INI and
// the exec scripts.
void RemoveStaleTempFiles(const QString& systemDir, const QString& userIniPath);

// The notice that the echo binding works only on servers with TOST: shown on
// the first change of the echo key in a run. The count wraps after 255, so
// it shows again at the 256th and 257th change.
class TostNotice {
 public:
  // Counts one change of the echo key; true when the notice is to be shown.
  bool OnEchoKeyChange() { return ++changes_ < 2; }

 private:
  std::uint8_t changes_ = 0;
};

inline const QString kTostNoticeMessage = QStringLiteral(
    "Hinweis: speziell dieser Keybinder funktioniert nur auf Servern, die das AddOn TOST "
    "verwenden. Auf anderen, ungeschützten Servern steht diese Funktion leider noch nicht zur "
    "Verfügung!");

}  // namespace game
