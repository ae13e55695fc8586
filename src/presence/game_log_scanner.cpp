#include "presence/game_log_scanner.h"

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <mutex>

#include "platform/file_ops.h"
#include "platform/safe_write.h"
#include "platform/text_file.h"
#include "platform/waits.h"
#include "presence/browse_location.h"
#include "presence/player_name.h"
#include "presence/log_file_reading.h"
#include "presence/relevant_log_line.h"
#include "presence/working_copy.h"

namespace presence {
namespace {

// What the scans of one working copy learnt: where its bytes came from and
// what reading them found, so the next scan reads only what the log gained.
struct ScanMemory {
  std::optional<CopiedLog> copied;
  std::optional<LogReading> reading;
};

std::mutex scanMutex;  // one scan at a time: they share the working copy and the memories
std::map<QString, ScanMemory> memories;  // by working copy
std::atomic<int> scansOnWorkers{0};

}  // namespace

std::optional<PlayerLocation> ScanGameLog(const QString& gameLogPath, const QString& workingCopyPath,
                                          const QString& userIniPath, bool offline, LogFormat format) {
  const std::lock_guard<std::mutex> lock(scanMutex);
  ScanMemory& memory = memories[workingCopyPath];
  std::optional<off_t> textEnd;
  const Refreshed refreshed = RefreshWorkingCopy(gameLogPath, workingCopyPath, memory.copied, &textEnd);
  if (refreshed != Refreshed::Appended || !memory.reading || memory.reading->Format() != format) {
    memory.reading.emplace(format);
  }
  ReadOnFromFile(workingCopyPath, *memory.reading, {}, textEnd ? std::optional<qint64>(*textEnd) : std::nullopt);
  const LogFinding finding = memory.reading->Result();
  // A failed copy leaves the earlier working copy in place, which is read
  // above but not followed: it is no copy of the log as it is now.
  if (refreshed == Refreshed::Failed) memory.reading.reset();
  if (!finding.last) return std::nullopt;
  return LocationFromFinding(finding, offline, [&] { return ReadPlayerName(userIniPath); });
}

std::optional<PlayerLocation> ScanGameLogProcessingEvents(const QString& gameLogPath,
                                                          const QString& workingCopyPath,
                                                          const QString& userIniPath, bool offline,
                                                          LogFormat format) {
  ++scansOnWorkers;
  auto scan = std::async(std::launch::async, [=] {
    struct Done {
      ~Done() { --scansOnWorkers; }
    } done;
    return ScanGameLog(gameLogPath, workingCopyPath, userIniPath, offline, format);
  });
  platform::WaitProcessingEvents(
      [&] { return scan.wait_for(std::chrono::seconds(0)) != std::future_status::ready; }, 5);
  return scan.get();
}

bool WaitForWorkerScans(int timeoutMs) {
  QElapsedTimer elapsed;
  elapsed.start();
  platform::WaitProcessingEvents([&] { return scansOnWorkers > 0 && elapsed.elapsed() < timeoutMs; }, 5);
  return scansOnWorkers == 0;
}

void EnsureGameLog(const QString& gameLogPath, const QString& gameDirSetting,
                   const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("NoLog found"));
  if (gameDirSetting.isEmpty() || platform::FileExists(gameLogPath)) return;
  // A missing system directory and the like are ignored: the scan then finds nothing.
  (void)platform::WriteFileAtomically(gameLogPath, "Exit: Exiting\r\n");
}

}  // namespace presence
