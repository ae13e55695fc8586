// The application's standard error report: an exception raised inside any
// handler ends that handler, is shown in an error box, and the program goes
// on running. Exceptions never cross the Qt event loop.
#pragma once
#include <QApplication>
#include <functional>
#include "platform/os/dialogs.h"

namespace platform {

// Shows the text of an exception as the standard error box.
void ReportError(Dialogs& dialogs, const std::exception& error);

// Runs `handler`; an exception it raises is reported and swallowed.
// Returns false when the handler raised.
bool RunGuarded(Dialogs& dialogs, const std::function<void()>& handler);

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv, Dialogs& dialogs);
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Dialogs& dialogs_;
};

}  // namespace platform
