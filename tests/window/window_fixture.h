// A main window over a temp program directory and working directory, with
// recording dialogs and shell, scaled waits and a recorded termination.
#pragma once
#include <memory>

#include "app/services.h"
#include "support/recording_dialogs.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace testing_support {

class WindowFixture {
 public:
  explicit WindowFixture(QStringList arguments = {});
  // Creates the window (its creation runs the start-up steps).
  TForm1& Open();
  TForm1& form() { return *form_; }

  TempDir dir;
  QString programDir;
  QString workingDir;
  QString gameDir;  // with trailing separator
  RecordingDialogs dialogs;
  RecordingShell shell;
  int terminations = 0;
  std::unique_ptr<app::Services> services;

  // A settings file with the essential settings filled in.
  void WriteCompleteSettings(const std::string& extraMainLines = "");
  std::string SettingsFile() const { return dir.Read("program/quavik.ini"); }
  std::string ActivityLogFile() const { return dir.Read("work/quavik.log"); }

  // Settings for a login: clan script `scriptUrl` with password "pw", master
  // script `masterUrl` (may be empty) with password "gpw", the game directory.
  void WriteLoginSettings(const std::string& scriptUrl, const std::string& masterUrl = "",
                          const std::string& extraMainLines = "");
  // The default game ("Tactical Ops MOD") as a real install spells it, in
  // System/: the executable, a user INI naming the player "Kim", and the log.
  void InstallGame(const std::string& logBytes = kOnServerLog);
  static constexpr const char* kOnServerLog = "Log: LoadMap: 1.2.3.4:7777/TO-Rapid?Name=Kim?Team=1\r\n";

  // A loopback port that nobody listens on.
  static int ClosedLoopbackPort();

 private:
  std::unique_ptr<TForm1> form_;
};

}  // namespace testing_support
