#include "presence/game_log_scanner.h"

#include "platform/file_ops.h"
#include "platform/text_file.h"
#include "presence/location_rule.h"
#include "presence/player_name.h"
#include "presence/relevant_log_line.h"
#include "presence/working_copy.h"

namespace presence {

std::optional<PlayerLocation> ScanGameLog(const QString& gameLogPath, const QString& workingCopyPath,
                                          const QString& userIniPath, bool offline) {
  // A failed copy leaves the earlier working copy in place, which is then read.
  (void)RefreshWorkingCopy(gameLogPath, workingCopyPath);
  const std::optional<std::string> line = LastRelevantLineInFile(workingCopyPath);
  if (!line) return std::nullopt;
  return LocationFromLogLine(*line, offline, [&] { return ReadPlayerName(userIniPath); });
}

void EnsureGameLog(const QString& gameLogPath, const QString& gameDirSetting,
                   const app::ActivityLog& log) {
  app::ActivityScope scope(log, QStringLiteral("NoLog found"));
  if (gameDirSetting.isEmpty() || platform::FileExists(gameLogPath)) return;
  // A missing system directory and the like are ignored: the scan then finds nothing.
  (void)platform::WriteFileAtomically(gameLogPath, "Exit: Exiting\r\n");
}

}  // namespace presence
