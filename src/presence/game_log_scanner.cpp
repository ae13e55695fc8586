#include "presence/game_log_scanner.h"

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/os/file_ops.h"
#include "platform/os/safe_write.h"
#include "platform/os/text_file.h"
#include "platform/os/waits.h"
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

// One scan at a time: they share the working copy and the memories. Both
// outlive the program's static objects, since a scan that hangs in the
// system goes on on its worker after its caller has stopped waiting.
std::timed_mutex& ScanMutex() {
  static auto* mutex = new std::timed_mutex;
  return *mutex;
}
std::map<QString, ScanMemory>& Memories() {  // by working copy
  static auto* memories = new std::map<QString, ScanMemory>;
  return *memories;
}
std::atomic<int> scansOnWorkers{0};

// What a scan on a worker hands back; shared, so a worker whose caller has
// given up has somewhere to put its result.
struct WorkerScan {
  std::mutex mutex;
  std::optional<PlayerLocation> location;
  std::exception_ptr failure;  // what the scan threw, thrown again to its caller
  bool done = false;

  // Runs `scan` on the worker and hands out what it gave.
  template <class Scan>
  void Run(const Scan& scan) {
    std::optional<PlayerLocation> found;
    std::exception_ptr thrown;
    try {
      found = scan();
    } catch (...) {
      thrown = std::current_exception();
    }
    // Counted off before the result is out: a caller holding it sees no
    // scan of its own still running.
    --scansOnWorkers;
    const std::lock_guard<std::mutex> lock(mutex);
    location = std::move(found);
    failure = thrown;
    done = true;
  }
};

}  // namespace

std::optional<PlayerLocation> ScanGameLog(const QString& gameLogPath, const QString& workingCopyPath,
                                          const QString& userIniPath, bool offline, LogFormat format) {
  // A scan that hangs in the system (a file system that no longer answers)
  // holds the lock for good: the scans behind it give up instead of queuing.
  std::unique_lock<std::timed_mutex> lock(ScanMutex(), std::chrono::milliseconds(kScanWaitMs));
  if (!lock.owns_lock()) return std::nullopt;
  ScanMemory& memory = Memories()[workingCopyPath];
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
                                                          LogFormat format, int timeoutMs) {
  // The worker is detached rather than joined: a scan that never ends must
  // not hold up its caller, nor the closing of the program.
  auto scan = std::make_shared<WorkerScan>();
  ++scansOnWorkers;
  std::thread worker;
  try {
    worker = std::thread(
        [=] { scan->Run([&] { return ScanGameLog(gameLogPath, workingCopyPath, userIniPath, offline, format); }); });
  } catch (...) {
    --scansOnWorkers;
    throw;
  }
  worker.detach();
  const auto finished = [&] {
    const std::lock_guard<std::mutex> lock(scan->mutex);
    return scan->done;
  };
  QElapsedTimer elapsed;
  elapsed.start();
  platform::WaitProcessingEvents([&] { return !finished() && elapsed.elapsed() < timeoutMs; }, 5);
  // Also when the event loop was told to quit: a scan not finished by now
  // gives no location.
  const std::lock_guard<std::mutex> lock(scan->mutex);
  if (scan->failure) std::rethrow_exception(scan->failure);
  return scan->done ? scan->location : std::nullopt;
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
