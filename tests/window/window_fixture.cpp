#include "window_fixture.h"

#include <QDir>

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

}  // namespace testing_support
