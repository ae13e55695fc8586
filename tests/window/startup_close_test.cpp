// Start-up and shutdown of the real main window over temp directories: what
// the window shows, and a close through its close event. The session's own
// start-up, save and close: tests/app/startup_close_test.cpp.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/session.h"
#include "support/loopback_http_server.h"
#include "support/window_fixture.h"

using platform::Answer;
using platform::Buttons;
using testing_support::LoopbackHttpServer;
using testing_support::WindowFixture;

using testing_support::WindowDriver;

namespace {

TEST(Startup, FirstStartShowsTheNoticeThenTheSetupPanel) {
  WindowFixture w;
  WindowDriver& f = w.Open();
  ASSERT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.dialogs.boxes[0].text, app::FirstStartMessage());
  EXPECT_EQ(w.dialogs.boxes[0].buttons, Buttons::YesOnly);
  EXPECT_TRUE(f.SetupPanel()->isVisibleTo(&f.window()));
  EXPECT_EQ(f.window().pos(), QPoint(40, 40));
  EXPECT_EQ(f.Choice("set_intervall")->currentText(), "5 Minuten");
  EXPECT_EQ(f.Choice("set_retailmod")->currentText(), "Tactical Ops MOD");
  EXPECT_EQ(f.session().gameProfile().userIni, "TOUser.ini");
  EXPECT_EQ(f.Panel("about")->x(), 11);
  EXPECT_EQ(f.Panel("NewsPanel")->x(), 11);
  EXPECT_FALSE(f.session().LoggedIn());
}

TEST(Startup, CompleteSettingsOpenQuietlyWithStoredValues) {
  WindowFixture w;
  w.WriteCompleteSettings("Update-Intervall=12\r\nProgrammversion=7\r\n");
  WindowDriver& f = w.Open();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_FALSE(f.SetupPanel()->isVisibleTo(&f.window()));
  EXPECT_EQ(f.window().pos(), QPoint(120, 80));
  EXPECT_EQ(f.Edit("set_todir")->text(), w.gameDir);
  EXPECT_EQ(f.Choice("set_intervall")->currentIndex(), -1);
  EXPECT_EQ(f.Choice("set_retailmod")->currentIndex(), -1);
  EXPECT_EQ(f.session().gameProfile().executable, "ut2003.exe");
}

TEST(Startup, OnlyThePasswordMissingStillShowsTheNotice) {
  WindowFixture w;
  w.dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=http://x/\r\nDirectory=/g/\r\n");
  w.Open();
  ASSERT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.dialogs.boxes[0].text, app::FirstStartMessage());
}

struct CloseCase {
  const char* name;
  bool loggedIn;
  Answer answer;
  bool throughFormClose;
  size_t questions;
  int saves;
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class Close : public ::testing::TestWithParam<CloseCase> {};

TEST_P(Close, SavesAsksOnlyWhenLoggedInAndRemovesTempFiles) {
  const CloseCase& c = GetParam();
  LoopbackHttpServer http;
  http.Serve("/q.php", "Kim\r\n1.2.3.4:7777\r\nd\r\nt\r\n");
  WindowFixture w({"LOG"});
  w.InstallGame();
  w.WriteLoginSettings(http.Url("/q.php"), "", "Update-Intervall=9\r\n");
  WindowDriver& f = w.Open();
  w.dir.Write("program/zephanor.tmp", "x");
  w.dir.Write("program/TacticalOps.sik", "x");
  if (c.loggedIn) {
    f.Click("Anmelden");
    ASSERT_TRUE(f.session().LoggedIn());
  }
  const size_t beforeClose = w.ActivityLogFile().size();
  w.dialogs.answers.push_back(c.answer);
  f.Edit("set_clansite")->setText("http://clan.example/");
  if (c.throughFormClose) f.window().close(); else f.session().ApplicationClose();

  size_t questions = 0;
  for (const auto& box : w.dialogs.boxes) questions += box.text == app::CloseQuestion();
  EXPECT_EQ(questions, c.questions);
  EXPECT_NE(w.SettingsFile().find("Clansite=http://clan.example/\r\n"), std::string::npos);
  EXPECT_FALSE(w.dir.Exists("program/zephanor.tmp"));
  EXPECT_FALSE(w.dir.Exists("program/TacticalOps.sik"));
  EXPECT_EQ(w.terminations, 1);
  const std::string log = w.ActivityLogFile().substr(beforeClose);
  int saves = 0;
  for (size_t at = log.find("START Speichere"); at != std::string::npos; at = log.find("START Speichere", at + 1)) ++saves;
  EXPECT_EQ(saves, c.saves);
  EXPECT_NE(log.find("START ApplicationClose..."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Close,
    ::testing::Values(CloseCase{"LoggedOut", false, Answer::Yes, false, 0, 1},
                      CloseCase{"LoggedInAnswerNo", true, Answer::No, false, 1, 1},
                      CloseCase{"ThroughFormCloseSavesTwiceAsksOnce", true, Answer::No, true, 1, 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
