#include "app/shutdown.h"

#include "app/startup.h"
#include "platform/os/file_ops.h"
#include "platform/os/guarded_application.h"
#include "platform/os/paths.h"
#include "presence/game_log_scanner.h"

namespace app {
namespace {
// A scan copies the game log; even a large one is done well within this.
constexpr int kScanEndWaitMs = 10000;
}  // namespace

void CloseApplication(CloseSteps& steps, presence::LoginCycle& cycle, platform::Dialogs& dialogs,
                      const platform::ActivityLog& log, const QString& tempDir) {
  log.Start(QStringLiteral("ApplicationClose..."));
  // A failed save is reported, and closing goes on: the program must end.
  platform::RunGuarded(dialogs, [&] { steps.SaveSettings(); });
  if (cycle.LoggedIn()) {
    const platform::Answer answer =
        dialogs.ShowMessage(CloseQuestion(), platform::Buttons::YesNo, platform::BoxKind::Confirmation);
    if (answer == platform::Answer::Yes) platform::RunGuarded(dialogs, [&] { cycle.LogoutForClose(); });
  }
  cycle.EndRun();
  steps.EndTransfers();
  presence::WaitForWorkerScans(kScanEndWaitMs);
  DeleteTempFiles(tempDir);
  steps.Terminate();
}

void DeleteTempFiles(const QString& tempDir) {
  platform::DeleteFileIfExists(platform::JoinDir(tempDir, kAnswerFileName));
  platform::DeleteFileIfExists(platform::JoinDir(tempDir, kWorkingCopyFileName));
}

}  // namespace app
