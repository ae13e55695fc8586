#include "window_fixture.h"

#include <QDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

WindowFixture::WindowFixture(QStringList arguments) {
  programDir = dir.File("program");
  workingDir = dir.File("work");
  gameDir = dir.File("game/");
  QDir().mkpath(programDir);
  QDir().mkpath(workingDir);
  QDir().mkpath(gameDir + "System");
  services.reset(new app::Services{dialogs, shell,
                                   platform::AppPaths{programDir, workingDir, arguments},
                                   platform::Waits{0.01}, [this] { ++terminations; }});
}

TForm1& WindowFixture::Open() {
  form_ = std::make_unique<TForm1>(*services);
  return *form_;
}

void WindowFixture::WriteCompleteSettings(const std::string& extraMainLines) {
  dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=http://127.0.0.1:1/q.php\r\nPass=pw\r\nDirectory=" +
                                      gameDir.toStdString() + "\r\n" + extraMainLines + "[GUI]\r\nXPOS=120\r\nYPOS=80\r\n");
}

void WindowFixture::WriteLoginSettings(const std::string& scriptUrl, const std::string& masterUrl,
                                       const std::string& extraMainLines) {
  dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=" + scriptUrl + "\r\nPass=pw\r\nGlobal-Script-URL=" +
                                      masterUrl + "\r\nGlobal-Pass=gpw\r\nDirectory=" + gameDir.toStdString() +
                                      "\r\n" + extraMainLines + "[GUI]\r\nXPOS=120\r\nYPOS=80\r\n");
}

void WindowFixture::InstallGame(const std::string& logBytes) {
  dir.Write("game/System/UnrealTournament.exe", "MZ");
  dir.Write("game/System/TOUser.ini", "[Engine.Input]\r\nF=Fire\r\n[DefaultPlayer]\r\nName=Kim\r\n");
  dir.Write("game/System/TacticalOps.log", logBytes);
}

int WindowFixture::ClosedLoopbackPort() {
  // A port the system just handed out and took back: a connection to it is
  // refused at once.
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

}  // namespace testing_support
