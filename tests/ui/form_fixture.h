// The main window over a temp program directory whose settings are complete,
// so it opens without the first-start notice, with recording dialogs and
// shell. Boxes shown while opening are forgotten.
#pragma once
#include <QDir>
#include <memory>

#include "app/services.h"
#include "support/recording_dialogs.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace ui_tests {

struct FormFixture {
  FormFixture()
      : services{dialogs, shell, platform::AppPaths{dir.File("program"), dir.File("work"), {}},
                 platform::Waits{0.01}, [this] { ++terminations; }} {
    QDir().mkpath(dir.File("program"));
    QDir().mkpath(dir.File("work"));
    QDir().mkpath(dir.File("game/System"));
    dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=http://127.0.0.1:1/q.php\r\nPass=pw\r\nDirectory=" +
                                        dir.File("game/").toStdString() + "\r\n");
    form = std::make_unique<TForm1>(services);
    dialogs.boxes.clear();
  }
  std::string SettingsFile() const { return dir.Read("program/quavik.ini"); }

  testing_support::TempDir dir;
  testing_support::RecordingDialogs dialogs;
  testing_support::RecordingShell shell;
  int terminations = 0;
  app::Services services;
  std::unique_ptr<TForm1> form;
};

}  // namespace ui_tests
