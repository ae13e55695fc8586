#include "game/keybinder.h"

#include <array>

#include "game/key_list.h"
#include "platform/text/cp1252.h"
#include "platform/os/file_ops.h"
#include "platform/os/ini_file.h"
#include "platform/os/paths.h"
#include "platform/os/safe_write.h"
#include "platform/os/text_file.h"

namespace game {
namespace {

struct Action {
  const char* command;
  const char* script;
};
constexpr Action kEcho{"echo", "quavik_echo.txt"};
constexpr Action kSay{"say", "quavik_say.txt"};
constexpr Action kTeamsay{"teamsay", "quavik_teamsay.txt"};

}  // namespace

void WriteKeyBindings(const QString& userIniPath, int echoIndex, int teamsayIndex, int sayIndex,
                      const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("Erstellung Keybinder in (TO)User.ini"));
  if (!platform::FileExists(userIniPath)) return;
  const QStringList keys = KeyListEntries();
  const std::array<std::pair<int, Action>, 3> bindings{
      {{echoIndex, kEcho}, {sayIndex, kSay}, {teamsayIndex, kTeamsay}}};
  std::vector<platform::IniEntry> entries;
  for (const auto& [index, action] : bindings) {
    if (index <= 0 || index >= keys.size()) continue;
    entries.push_back({QStringLiteral("Engine.Input"), keys[index],
                       QStringLiteral("EXEC ") + QLatin1String(action.script)});
  }
  if (!entries.empty()) platform::IniWriteStrings(userIniPath, entries);
}

std::string ExecScriptBytes(const QString& command, const QString& rosterSummary) {
  QString line = command + QLatin1Char(' ') + rosterSummary;
  for (QChar& c : line) {
    if (c.unicode() < 32) c = QLatin1Char(' ');
  }
  return platform::ToCp1252(line) + "\r\n";
}

void RemoveStaleTempFiles(const QString& systemDir, const QString& userIniPath) {
  platform::RemoveStaleTempFiles(userIniPath);
  for (const Action& action : {kEcho, kSay, kTeamsay})
    platform::RemoveStaleTempFiles(platform::FindPathNoCase(platform::JoinDir(systemDir, QLatin1String(action.script))));
}

void WriteExecScripts(const QStringList& scriptDirs, const QString& rosterSummary,
                      const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("Erstellung EXEC-Scripts"));
  for (const QString& dir : scriptDirs) {
    for (const Action& action : {kEcho, kSay, kTeamsay}) {
      const QString path = platform::FindPathNoCase(platform::JoinDir(dir, QLatin1String(action.script)));
      // A script that can't be written (a wrong game directory) is skipped.
      (void)platform::WriteFileAtomically(path, ExecScriptBytes(QLatin1String(action.command), rosterSummary));
    }
  }
}

}  // namespace game
