#include "ui/program_windows.h"

#include <QApplication>

#include "platform/os/single_instance.h"
#include "ui/main_window.h"

namespace program_windows {

int Run(app::Services& services) {
  // A second start brings the running window to the front and ends, before
  // it touches any of the files the running one uses.
  platform::SingleInstance instance(services.paths.TempDir());
  if (instance.HeldByAnother()) {
    instance.AskHolderToShow();
    return 0;
  }
  MainWindow form(services);
  instance.OnShowRequested = [&form] { form.BringToFront(); };
  form.show();
  return QApplication::exec();
}

}  // namespace program_windows
