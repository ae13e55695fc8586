// The one way the program ends (ApplicationClose): save the settings, ask
// whether to log out while logged in and send the offline reports on "Ja",
// then remove the temporary files and tell the application to end.
//
// After the question nothing more is sent: reports still under way lower on
// the stack stop where they are, the transfers still going are cancelled, and
// the temporary files are removed only once no scan is writing the working
// copy, so none is left behind, also when a hanging script answers late.
// Runs a nested event loop (the question, the offline reports, the scan's end).
#pragma once
#include <QString>

#include "platform/os/activity_log.h"
#include "platform/os/dialogs.h"
#include "presence/login_cycle.h"

namespace app {

// The steps of closing that the session provides.
class CloseSteps {
 public:
  virtual ~CloseSteps() = default;
  // Throws when the settings file can't be written; closing goes on.
  virtual void SaveSettings() = 0;
  // Cancels the session's transfers; a late answer then writes no file.
  virtual void EndTransfers() = 0;
  // Ends the event loop.
  virtual void Terminate() = 0;
};

void CloseApplication(CloseSteps& steps, presence::LoginCycle& cycle, platform::Dialogs& dialogs,
                      const platform::ActivityLog& log, const QString& tempDir);

// Deletes the answer file and the working copy; missing ones are skipped.
void DeleteTempFiles(const QString& tempDir);

}  // namespace app
