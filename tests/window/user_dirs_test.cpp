// An installed program: the settings file lives in the user's configuration
// directory and the temporary files in the cache directory; nothing goes
// into the program directory.
#include <gtest/gtest.h>

#include <QDir>

#include "support/loopback_http_server.h"
#include "app/session.h"
#include "support/window_fixture.h"

using testing_support::LoopbackHttpServer;
using testing_support::WindowFixture;

using testing_support::WindowDriver;

namespace {

class UserDirs : public testing::Test {
 protected:
  UserDirs() {
    w.services->paths.userSettingsDir = w.dir.File("config/quavik");
    w.services->paths.userTempDir = w.dir.File("cache/quavik");
    QDir().mkpath(w.services->paths.userSettingsDir);
    QDir().mkpath(w.services->paths.userTempDir);
  }

  bool ProgramDirEmpty() const { return QDir(w.programDir).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

  WindowFixture w;
};

TEST_F(UserDirs, FirstStartThenCloseWritesTheSettingsIntoTheConfigDirectory) {
  WindowDriver& f = w.Open();
  EXPECT_EQ(w.dialogs.boxes.size(), 1u);  // the first-start notice
  EXPECT_EQ(f.Label("SettingsFileLabel")->text(), w.dir.File("config/quavik/quavik.ini"));
  w.dir.Write("cache/quavik/zephanor.tmp", "x");
  w.dir.Write("cache/quavik/TacticalOps.sik", "x");
  f.session().ApplicationClose();
  EXPECT_NE(w.dir.Read("config/quavik/quavik.ini").find("[GUI]\r\nXPOS=40\r\nYPOS=40\r\n"), std::string::npos);
  EXPECT_FALSE(w.dir.Exists("cache/quavik/zephanor.tmp"));
  EXPECT_FALSE(w.dir.Exists("cache/quavik/TacticalOps.sik"));
  EXPECT_TRUE(ProgramDirEmpty());
}

TEST_F(UserDirs, ReportAnswerAndWorkingCopyGoToTheCacheDirectory) {
  LoopbackHttpServer http;
  http.Serve("/q.php", "Kim\r\n1.2.3.4:7777\r\nd\r\nt\r\nLee\r\nSucht Server...\r\nd\r\nt\r\n");
  w.InstallGame();
  w.dir.Write("config/quavik/quavik.ini", "[MAIN]\r\nScript-URL=" + http.Url("/q.php") + "\r\nPass=pw\r\nDirectory=" +
                                              w.gameDir.toStdString() + "\r\n");
  WindowDriver& f = w.Open();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  f.session().StartStop();
  ASSERT_TRUE(f.session().LoggedIn());
  EXPECT_EQ(f.ClanList()->item(2, 0)->text(), "Lee");
  EXPECT_TRUE(w.dir.Exists("cache/quavik/zephanor.tmp"));
  EXPECT_TRUE(w.dir.Exists("cache/quavik/TacticalOps.sik"));
  EXPECT_NE(w.dir.Read("config/quavik/quavik.ini").find("Update-Intervall=4"), std::string::npos);
  EXPECT_TRUE(ProgramDirEmpty());
}

}  // namespace
