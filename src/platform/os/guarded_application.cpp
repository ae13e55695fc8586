#include "platform/os/guarded_application.h"

#include "platform/os/errors.h"

namespace platform {

void ReportError(Dialogs& dialogs, const std::exception& error) {
  const auto* own = dynamic_cast<const QuavikError*>(&error);
  const QString text = own ? own->Message() : QString::fromLocal8Bit(error.what());
  dialogs.ShowMessage(text, Buttons::Ok, BoxKind::Error);
}

bool RunGuarded(Dialogs& dialogs, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    ReportError(dialogs, e);
  }
  return false;
}

GuardedApplication::GuardedApplication(int& argc, char** argv, Dialogs& dialogs)
    : QApplication(argc, argv), dialogs_(dialogs) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ReportError(dialogs_, e);
  }
  return false;
}

}  // namespace platform
