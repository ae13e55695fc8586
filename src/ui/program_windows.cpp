#include "ui/program_windows.h"

#include <QApplication>

#include "ui/main_window.h"

namespace program_windows {

int Run(app::Services& services) {
  TForm1 form(services);
  form.show();
  return QApplication::exec();
}

}  // namespace program_windows
