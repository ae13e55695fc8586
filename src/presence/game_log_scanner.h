// The scan behind every presence report: copy the game log to the working
// copy, find its last relevant line and read the player's whereabouts from
// them (presence/location_rule.h, presence/browse_location.h). Also the start-up duty of creating a
// missing game log so the first scan finds a line.
#pragma once
#include <QString>
#include <optional>

#include "platform/os/activity_log.h"
#include "presence/player_location.h"
#include "presence/relevant_log_line.h"

namespace presence {

// Copies `gameLogPath` over `workingCopyPath` first; when that fails (no log,
// a locked log) the working copy of an earlier scan is read instead. A log
// that only grew since the last scan of this working copy costs what it
// grew: its new bytes are appended and read on from where that scan stopped
// (presence/working_copy.h). nullopt
// when the working copy holds no relevant line or can't be read. The name
// comes from `userIniPath` whenever the player is not on a server. `format`
// says which lines the game writes.
std::optional<PlayerLocation> ScanGameLog(const QString& gameLogPath, const QString& workingCopyPath,
                                          const QString& userIniPath, bool offline,
                                          LogFormat format = LogFormat::LoadMap);

// How long a scan waits for the one before it, and its caller for the scan:
// even a log of hundreds of megabytes is copied and read well within this.
inline constexpr int kScanWaitMs = 30000;

// The same scan on a worker thread, for the user-interface thread: the
// window keeps processing its messages while a large log is copied and read.
// Scans never overlap, so a scan started meanwhile (a reload click, say)
// waits for the working copy instead of writing it at the same time. A scan
// that hangs (a file that never answers) gives nullopt after `timeoutMs`,
// or as soon as the event loop is told to quit; it goes on on its worker,
// and the scans behind it give up after kScanWaitMs.
// Runs a nested event loop.
std::optional<PlayerLocation> ScanGameLogProcessingEvents(const QString& gameLogPath,
                                                          const QString& workingCopyPath,
                                                          const QString& userIniPath, bool offline,
                                                          LogFormat format = LogFormat::LoadMap,
                                                          int timeoutMs = kScanWaitMs);

// Processes events until no scan started by ScanGameLogProcessingEvents is
// still writing the working copy, or `timeoutMs` has passed; true when none
// is. A scan's worker ends on its own, so this may wait from inside the
// scan's own wait lower on the stack.
bool WaitForWorkerScans(int timeoutMs);

// Creates the game log with the single line "Exit: Exiting" + CR LF when it
// does not exist and a game directory is set. Failures are ignored. Writes
// the "NoLog found" START and END lines.
void EnsureGameLog(const QString& gameLogPath, const QString& gameDirSetting,
                   const platform::ActivityLog& log);

}  // namespace presence
