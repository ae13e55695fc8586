// The program's surroundings over a temp program directory and working
// directory, with recording dialogs and shell, scaled waits and a recorded
// termination: settings files and a game install as a test needs them. The
// window fixture (support/window_fixture.h) and the session's own
// (tests/app) open the program over it.
#pragma once
#include <QDir>
#include <memory>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/services.h"
#include "support/recording_dialogs.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace testing_support {

class ProgramFixture {
 public:
  explicit ProgramFixture(QStringList arguments = {})
      : programDir(dir.File("program")), workingDir(dir.File("work")), gameDir(dir.File("game/")) {
    QDir().mkpath(programDir);
    QDir().mkpath(workingDir);
    QDir().mkpath(gameDir + "System");
    services.reset(new app::Services{dialogs, shell, platform::AppPaths{programDir, workingDir, arguments},
                                     platform::Waits{0.01}, [this] { ++terminations; }});
  }

  // A settings file with the essential settings filled in.
  void WriteCompleteSettings(const std::string& extraMainLines = "") {
    dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=http://127.0.0.1:1/q.php\r\nPass=pw\r\nDirectory=" +
                                        gameDir.toStdString() + "\r\n" + extraMainLines +
                                        "[GUI]\r\nXPOS=120\r\nYPOS=80\r\n");
  }

  // Settings for a login: clan script `scriptUrl` with password "pw", master
  // script `masterUrl` (may be empty) with password "gpw", the game directory.
  void WriteLoginSettings(const std::string& scriptUrl, const std::string& masterUrl = "",
                          const std::string& extraMainLines = "") {
    dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=" + scriptUrl + "\r\nPass=pw\r\nGlobal-Script-URL=" +
                                        masterUrl + "\r\nGlobal-Pass=gpw\r\nDirectory=" + gameDir.toStdString() +
                                        "\r\n" + extraMainLines + "[GUI]\r\nXPOS=120\r\nYPOS=80\r\n");
  }

  // The default game ("Tactical Ops MOD") as a real install spells it, in
  // System/: the executable, a user INI naming the player "Kim", and the log.
  static constexpr const char* kOnServerLog = "Log: LoadMap: 1.2.3.4:7777/TO-Rapid?Name=Kim?Team=1\r\n";
  void InstallGame(const std::string& logBytes = kOnServerLog) {
    dir.Write("game/System/UnrealTournament.exe", "MZ");
    dir.Write("game/System/TOUser.ini", "[Engine.Input]\r\nF=Fire\r\n[DefaultPlayer]\r\nName=Kim\r\n");
    dir.Write("game/System/TacticalOps.log", logBytes);
  }

  std::string SettingsFile() const { return dir.Read("program/quavik.ini"); }
  std::string ActivityLogFile() const { return dir.Read("work/quavik.log"); }

  // A loopback port that nobody listens on: one the system just handed out
  // and took back, so a connection to it is refused at once.
  static int ClosedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
  }

  TempDir dir;
  QString programDir;
  QString workingDir;
  QString gameDir;  // with trailing separator
  RecordingDialogs dialogs;
  RecordingShell shell;
  int terminations = 0;
  std::unique_ptr<app::Services> services;
};

}  // namespace testing_support
