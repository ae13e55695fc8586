// Start-up and shutdown of the real main window over temp directories.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/session.h"
#include "support/window_fixture.h"

using platform::Answer;
using platform::Buttons;
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
  EXPECT_FALSE(f.session().updateTimer().Enabled());
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

TEST(Startup, LogArgumentWritesTheTraceIntoTheWorkingDirectory) {
  WindowFixture w({"lOg"});
  w.Open();
  const std::string log = w.ActivityLogFile();
  ASSERT_FALSE(log.empty());
  const size_t firstLineEnd = log.find("\r\n");
  EXPECT_NE(log.substr(0, firstLineEnd).find(": START -| ZEPHANOR STARTUP |----------------------"),
            std::string::npos);
  const size_t readStart = log.find("START Lese Quavikkonfiguration");
  const size_t readEnd = log.find("  END Lese Quavikkonfiguration");
  ASSERT_NE(readStart, std::string::npos);
  ASSERT_NE(readEnd, std::string::npos);
  EXPECT_LT(readStart, log.find("START \\check"));
  EXPECT_LT(log.find("  END Definiere Logs/Inifiles f\xFCr App"), readEnd);
  EXPECT_FALSE(w.dir.Exists("program/quavik.log"));
}

TEST(Startup, WithoutLogArgumentNoTraceIsWritten) {
  WindowFixture w({"x", "LOG"});
  w.Open();
  EXPECT_FALSE(w.dir.Exists("work/quavik.log"));
}

TEST(Settings, SaveCorrectsTheSchemeWithBeepAndMessage) {
  WindowFixture w;
  w.WriteCompleteSettings();
  WindowDriver& f = w.Open();
  f.Edit("set_server")->setText("clan.example/quavik.php");
  f.session().SaveSettings();
  ASSERT_EQ(w.dialogs.events.size(), 2u);
  EXPECT_EQ(w.dialogs.events[0], "beep 16");
  EXPECT_EQ(w.dialogs.boxes.at(0).buttons, Buttons::Ok);
  EXPECT_EQ(f.Edit("set_server")->text(), "http://clan.example/quavik.php");
  EXPECT_NE(w.SettingsFile().find("Script-URL=http://clan.example/quavik.php\r\n"), std::string::npos);
  // https is a valid scheme and stays as typed.
  f.Edit("set_server")->setText("HTTPS://clan.example/");
  f.session().SaveSettings();
  EXPECT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(f.Edit("set_server")->text(), "HTTPS://clan.example/");
}

TEST(Settings, FirstSaveThroughTheWindowWritesTheDefaults) {
  WindowFixture w;
  WindowDriver& f = w.Open();
  f.session().SaveSettings();
  EXPECT_EQ(w.SettingsFile(),
            "[MAIN]\r\nGlobal-Script-URL=\r\nGlobal-Pass=\r\nScript-URL=\r\nDirectory=\r\nPass=\r\n"
            "Update-Intervall=4\r\nClansite=\r\nTOLogSizeCheck=0\r\nProgrammversion=0\r\n"
            "Keybinder=-1\r\nKeybinder_say=-1\r\nKeybinder_teamsay=-1\r\n"
            "[GUI]\r\nXPOS=40\r\nYPOS=40\r\nNotify=1\r\nTrayMinimize=0\r\n");
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
  WindowFixture w({"LOG"});
  w.WriteCompleteSettings();
  WindowDriver& f = w.Open();
  w.dir.Write("program/zephanor.tmp", "x");
  w.dir.Write("program/TacticalOps.sik", "x");
  f.session().updateTimer().SetInterval(600000);
  f.session().updateTimer().SetEnabled(c.loggedIn);
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
  const std::string log = w.ActivityLogFile();
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

TEST(Close, TempFilesAlreadyAbsentReportNothing) {
  WindowFixture w;
  w.WriteCompleteSettings();
  WindowDriver& f = w.Open();
  f.session().ApplicationClose();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.terminations, 1);
}

}  // namespace
