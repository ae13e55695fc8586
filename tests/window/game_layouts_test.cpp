// A login with the game installed as players really have it: under Wine
// (CR LF files), the native UT build with its files in ~/.utpg, and native
// UT 2004 with its files in ~/.ut2004 and a log of Browse and Bringing Level
// lines; the native builds write LF line ends, and UT 469c and later a UTF-8
// log behind a byte order mark; the 64-bit Windows UT 2004, whose log is
// ut2004-win64.log. Each reports to a clan script on loopback;
// then the game is started.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>

#include "support/loopback_http_server.h"
#include "app/session.h"
#include "support/window_fixture.h"

using testing_support::LoopbackHttpServer;
using testing_support::WindowFixture;

using testing_support::WindowDriver;

namespace {

struct Layout {
  const char* name;
  int game;
  std::vector<std::pair<std::string, std::string>> files;  // below the temp dir; "game/" is the install
  std::string name_, server, map;                          // reported
  std::string userIni;                                     // where the key bindings go
  std::vector<std::string> scriptDirs;                     // where the exec scripts go
  std::string program, workingDir;                         // the launch
  std::string eol = "\r\n";                                // the line end of the game's files
};
void PrintTo(const Layout& l, std::ostream* os) { *os << l.name; }

const std::string kUserIni = "[Engine.Input]\r\nF=Fire\r\n[DefaultPlayer]\r\nName=IniName\r\n";

// `text` with each CR LF replaced by `eol`.
std::string WithLineEnd(const std::string& text, const std::string& eol) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\r\n") == 0) {
      out += eol;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

class GameLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(GameLayout, LoginReportsWhereThePlayerIsAndTheGameStarts) {
  const Layout& l = GetParam();
  LoopbackHttpServer http;
  WindowFixture w;
  w.services->paths.homeDir = w.dir.File("home");
  for (const auto& [path, bytes] : l.files) w.dir.Write(QString::fromStdString(path), WithLineEnd(bytes, l.eol));
  // A template left in the install, older than the file the game wrote.
  if (w.dir.Exists("game/System/User.ini") && w.dir.Exists(QString::fromStdString(l.userIni))) {
    QFile old(w.dir.File("game/System/User.ini"));
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    old.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime);
  }
  http.Serve("/q.php", "Kim\r\n1.2.3.4:7777\r\nd\r\nt\r\n");
  w.WriteLoginSettings(http.Url("/q.php"), "", "Programmversion=" + std::to_string(l.game) + "\r\nKeybinder=1\r\n");
  WindowDriver& f = w.Open();
  f.Click("Anmelden");
  EXPECT_TRUE(w.dialogs.boxes.empty());
  ASSERT_TRUE(f.session().LoggedIn());

  const auto requests = http.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].Param("name"), l.name_);
  EXPECT_EQ(requests[0].Param("server"), l.server);
  EXPECT_EQ(requests[0].Param("map"), l.map);
  EXPECT_EQ(w.dir.Read(QString::fromStdString(l.userIni)),
            WithLineEnd("[Engine.Input]\r\nF=Fire\r\nA=EXEC quavik_echo.txt\r\n[DefaultPlayer]\r\nName=IniName\r\n",
                        l.eol));
  for (const std::string& dir : l.scriptDirs) {
    EXPECT_EQ(w.dir.Read(QString::fromStdString(dir + "/quavik_echo.txt")),
              "echo Quavik meldet: Kim (1.2.3.4:7777) \r\n")
        << dir;
  }

  f.Click("Tactical Ops starten");
  ASSERT_EQ(w.shell.calls.size(), 1u);
  EXPECT_EQ(w.shell.calls[0].target, w.dir.File(QString::fromStdString(l.program)));
  EXPECT_EQ(w.shell.calls[0].workingDirectory, w.dir.File(QString::fromStdString(l.workingDir)));
  EXPECT_EQ(w.shell.calls[0].arguments.value(0), "Entry.unr");
  f.session().StartStop();  // log out while the server still runs
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, GameLayout,
    ::testing::Values(
        Layout{"Wine",
               2,
               {{"game/System/UnrealTournament.exe", "MZ"},
                {"game/System/User.ini", kUserIni},
                {"game/System/UnrealTournament.log",
                 "Log: Browse: 81.169.240.101:7778/CTF-Face.unr?Name=Buggie\r\n"
                 "Log: LoadMap: 81.169.240.101:7778/CTF-Face?Name=Buggie?Class=Botpack.TMale1\r\n"}},
               "Buggie", "81.169.240.101:7778", "CTF-Face",
               "game/System/User.ini",
               {"game/System"},
               "game/System/UnrealTournament.exe", "game/System"},
        Layout{"Native469",
               2,
               {{"game/System64/ut-bin-amd64", "\x7f" "ELF"},
                {"game/System/User.ini", kUserIni},
                {"home/.utpg/System/User.ini", kUserIni},
                {"home/.utpg/System/UnrealTournament.log",
                 "Log: Browse: 81.169.240.101/MH-AutoRIP(SB).unr?Name=Buggie?Class=Botpack.TMale1\r\n"
                 "Log: LoadMap: 81.169.240.101/MH-AutoRIP(SB)?Name=Buggie?Class=Botpack.TMale1?team=0\r\n"}},
               "Buggie", "81.169.240.101", "MH-AutoRIP(SB)",
               "home/.utpg/System/User.ini",
               {"game/System64", "home/.utpg/System"},
               "game/System64/ut-bin-amd64", "game/System64", "\n"},
        Layout{"Native469Utf8",
               2,
               {{"game/System64/ut-bin-amd64", "\x7f" "ELF"},
                {"home/.utpg/System/User.ini", kUserIni},
                {"home/.utpg/System/UnrealTournament.log",
                 "\xEF\xBB\xBFLog: Browse: 81.169.240.101/CTF-Evil\xC2\xB1.unr?Name=B\xC3\xBCggie?Class=Botpack.TMale1\r\n"
                 "Log: LoadMap: 81.169.240.101/CTF-Evil\xC2\xB1?Name=B\xC3\xBCggie?Class=Botpack.TMale1?team=0\r\n"
                 "Log: Bringing Level CTF-Evil\xC2\xB1.MyLevel up for play (41)...\r\n"}},
               // The report carries Windows-1252, as it always has.
               "B\xFCggie", "81.169.240.101", "CTF-Evil\xB1",
               "home/.utpg/System/User.ini",
               {"game/System64", "home/.utpg/System"},
               "game/System64/ut-bin-amd64", "game/System64", "\n"},
        Layout{"NativeUt2004",
               4,
               {{"game/System/ut2004-bin-linux-amd64", "\x7f" "ELF"},
                {"home/.ut2004/System/User.ini", kUserIni},
                {"home/.ut2004/System/UT2004.log",
                 "Log: Browse: 63.211.105.170/Index.ut2?Name=Ling_On_Linux?Class=Engine.Pawn?team=255\r\n"
                 "Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.547783...\r\n"
                 // The server changed map; the player stayed.
                 "Log: Browse: 63.211.105.170/ONS-Dria?Name=Ling_On_Linux?GAME=Onslaught.ONSOnslaughtGame\r\n"
                 "Log: Browse: Index.ut2?closed?Name=Ling_On_Linux?Class=Engine.Pawn\r\n"
                 "Log: Failed; returning to Entry\r\n"
                 "Log: NetMode now NM_Client\r\n"
                 "Log: Bringing Level ONS-Dria.myLevel up for play (90) appSeconds: 951.0...\r\n"}},
               "Ling_On_Linux", "63.211.105.170", "ONS-Dria",
               "home/.ut2004/System/User.ini",
               {"game/System", "home/.ut2004/System"},
               "game/System/ut2004-bin-linux-amd64", "game/System", "\n"},
        // The 64-bit Windows client names its log after its executable.
        Layout{"Win64Ut2004",
               4,
               {{"game/System/UT2004.exe", "MZ"},
                {"game/System/User.ini", kUserIni},
                {"game/System/ut2004-win64.log",
                 "Log: Browse: 63.211.105.170/Index.ut2?Name=Ling?Class=Engine.Pawn?team=255\r\n"
                 "Log: Bringing Level ONS-Torlan.myLevel up for play (90) appSeconds: 51.547783...\r\n"}},
               "Ling", "63.211.105.170", "ONS-Torlan",
               "game/System/User.ini",
               {"game/System"},
               "game/System/UT2004.exe", "game/System"}),
    [](const auto& info) { return std::string(info.param.name); });

// A first start without a game directory: the install of the chosen game
// whose log was written last goes into the setup panel, unsaved.
TEST(FindingTheGame, FirstStartFillsTheDirectoryWithoutSaving) {
  WindowFixture w;
  w.services->paths.homeDir = w.dir.File("home");
  w.services->paths.winePrefix = w.dir.File("prefix");
  w.dir.Write("home/.local/share/OldUnreal/UnrealTournament/System64/ut-bin-amd64", "");
  w.dir.Write("home/.utpg/System/UnrealTournament.log", "Log: x\r\n");
  w.dir.Write("prefix/drive_c/UnrealTournament/System/UnrealTournament.exe", "MZ");
  w.dir.Write("program/quavik.ini", "[MAIN]\r\nProgrammversion=2\r\n");
  WindowDriver& f = w.Open();
  EXPECT_EQ(f.Edit("set_todir")->text(), w.dir.File("home/.local/share/OldUnreal/UnrealTournament/"));
  EXPECT_EQ(w.SettingsFile(), "[MAIN]\r\nProgrammversion=2\r\n");
}

}  // namespace
