// The outside world as the main window and its operations reach it: message
// boxes, the shell, the fixed waits, and where the program lives. The real
// program passes the Qt implementations; tests pass recorders and scaled waits.
#pragma once
#include <functional>

#include "platform/os/dialogs.h"
#include "platform/os/paths.h"
#include "platform/os/shell.h"
#include "platform/os/waits.h"

namespace app {

struct Services {
  platform::Dialogs& dialogs;
  platform::Shell& shell;
  platform::AppPaths paths;
  platform::Waits waits;
  // Ends the event loop; empty means QCoreApplication::quit(). Tests record it.
  std::function<void()> terminate;
};

}  // namespace app
