// Start-up, the settings' save and close of the session over temp
// directories, with the fake view.
#include <gtest/gtest.h>

#include "app/session.h"
#include "session_fixture.h"

using platform::Buttons;
using testing_support::SessionFixture;

namespace {

TEST(SessionStartup, LogArgumentWritesTheTraceIntoTheWorkingDirectory) {
  SessionFixture w({"lOg"});
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

TEST(SessionStartup, WithoutLogArgumentNoTraceIsWritten) {
  SessionFixture w({"x", "LOG"});
  w.Open();
  EXPECT_FALSE(w.dir.Exists("work/quavik.log"));
}

TEST(SessionSettings, SaveCorrectsTheSchemeWithBeepAndMessage) {
  SessionFixture w;
  w.WriteCompleteSettings();
  app::Session& s = w.Open();
  w.view.panel.scriptUrl = "clan.example/quavik.php";
  w.Type();
  s.SaveSettings();
  ASSERT_EQ(w.dialogs.events.size(), 2u);
  EXPECT_EQ(w.dialogs.events[0], "beep 16");
  EXPECT_EQ(w.dialogs.boxes.at(0).buttons, Buttons::Ok);
  EXPECT_EQ(w.view.panel.scriptUrl, "http://clan.example/quavik.php");
  EXPECT_NE(w.SettingsFile().find("Script-URL=http://clan.example/quavik.php\r\n"), std::string::npos);
  // https is a valid scheme and stays as typed.
  w.view.panel.scriptUrl = "HTTPS://clan.example/";
  w.Type();
  s.SaveSettings();
  EXPECT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.view.panel.scriptUrl, "HTTPS://clan.example/");
}

TEST(SessionSettings, FirstSaveWritesTheDefaults) {
  SessionFixture w;
  w.Open().SaveSettings();
  EXPECT_EQ(w.SettingsFile(),
            "[MAIN]\r\nGlobal-Script-URL=\r\nGlobal-Pass=\r\nScript-URL=\r\nDirectory=\r\nPass=\r\n"
            "Update-Intervall=4\r\nClansite=\r\nTOLogSizeCheck=0\r\nProgrammversion=0\r\n"
            "Keybinder=-1\r\nKeybinder_say=-1\r\nKeybinder_teamsay=-1\r\n"
            "[GUI]\r\nXPOS=40\r\nYPOS=40\r\nNotify=1\r\nTrayMinimize=0\r\n");
}

TEST(SessionClose, TempFilesAlreadyAbsentReportNothing) {
  SessionFixture w;
  w.WriteCompleteSettings();
  w.Open().ApplicationClose();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.terminations, 1);
}

}  // namespace
