// The presence reports of the session against a clan script and a master
// script on loopback, with the fake view: what the scripts receive, and the
// files a login writes into the game.
#include <gtest/gtest.h>

#include <QString>

#include "app/session.h"
#include "session_fixture.h"
#include "support/loopback_http_server.h"

using testing_support::LoopbackHttpServer;
using testing_support::SessionFixture;
using testing_support::ProgramFixture;
using Params = std::vector<std::pair<std::string, std::string>>;

namespace {

constexpr const char* kOnServerLog = ProgramFixture::kOnServerLog;
const std::string kTwoRecords = "Kim\r\n1.2.3.4:7777\r\n2024-05-01\r\n20:15\r\nLee\r\nSucht Server...\r\nd\r\nt\r\n";

// The clan script answers at /q.php, the master server at /m.php; the
// session is destroyed before the server (declaration order).
class SessionReports : public ::testing::Test {
 protected:
  app::Session& Open(const std::string& log, bool withMaster = true, const std::string& extraMainLines = "") {
    w.InstallGame(log);
    w.WriteLoginSettings(http.Url("/q.php"), withMaster ? http.Url("/m.php") : "", extraMainLines);
    app::Session& s = w.Open();
    s.reportTransfer().ConnectTimeoutMs = 1000;
    s.reportTransfer().StallTimeoutMs = 2000;
    return s;
  }

  LoopbackHttpServer http;
  SessionFixture w;
};

TEST_F(SessionReports, ReportsCarryEveryValueEncodedAndInOrder) {
  http.Serve("/q.php", kTwoRecords);
  http.Serve("/m.php", "OK\r\n");
  app::Session& s = Open("Log: LoadMap: 1.2.3.4:7777/TO-Rapid?Name=K\xE4m &Co=1?Team=1\r\n");
  w.view.panel.pass = QStringLiteral("p+w&d=ö #");
  w.view.panel.globalPass = "g/?x%";
  w.Type();
  s.StartStop();
  s.StartStop();

  const Params onServer{{"name", "K\xE4m &Co=1"}, {"ip", "Zephanor!"}, {"server", "1.2.3.4:7777"}, {"map", "TO-Rapid"}};
  // The logout clears the entry the login made: the name from the game log,
  // not the INI's "Kim".
  const Params offline{{"name", "K\xE4m &Co=1"}, {"ip", "Zephanor!"}, {"server", "<i>offline</i>"}, {"map", "<i>offline</i>"}};
  const Params clan{{"pass", "p+w&d=\xF6 #"}, {"quickview", "on"}};
  const Params master{{"pass", "g/?x%"}, {"quickview", "on"}, {"globalpost", "on"}};
  const auto join = [](Params a, const Params& b) { a.insert(a.end(), b.begin(), b.end()); return a; };
  const std::vector<std::pair<std::string, Params>> expected{
      {"/q.php", join(onServer, clan)},
      {"/m.php", join(onServer, master)},
      {"/q.php", join(offline, clan)},
      {"/m.php", join(offline, master)},
  };
  const auto requests = http.Requests();
  ASSERT_EQ(requests.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(requests[i].method, "GET");
    EXPECT_EQ(requests[i].path, expected[i].first);
    EXPECT_EQ(requests[i].params, expected[i].second);
  }
  EXPECT_TRUE(w.dialogs.boxes.empty());
}

// A script URL with letters whose Windows-1252 bytes lie in 0x80-0x9F
// ("š" 0x9A, "€" 0x80) reaches the script as those bytes, not as "?".
TEST_F(SessionReports, ScriptUrlWithWindows1252LettersReachesTheScript) {
  http.Serve("/clan\x9A\x80/q.php", kTwoRecords);
  w.InstallGame();
  w.WriteLoginSettings(http.Url("/clan\x9A\x80/q.php"));
  app::Session& s = w.Open();
  s.reportTransfer().ConnectTimeoutMs = 1000;
  s.StartStop();
  const auto requests = http.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].path, "/clan\x9A\x80/q.php");
  EXPECT_EQ(requests[0].Param("server"), "1.2.3.4:7777");
  s.StartStop();
}

TEST_F(SessionReports, LoginWritesBindingsAndScriptsWithTheRoster) {
  // A lone LF inside a name is an ordinary character of the answer; in the
  // scripts it must not start a second console command.
  http.Serve("/q.php", "Kim\nexit\r\n1.2.3.4:7777\r\nd\r\nt\r\nJ\xF6rg\r\nSucht Server...\r\nd\r\nt\r\n");
  app::Session& s = Open(kOnServerLog, false, "Keybinder=1\r\nKeybinder_say=27\r\nKeybinder_teamsay=37\r\n");
  w.dir.Write("game/System/TOUser.ini",
              "[Engine.Input]\r\na=Fire\r\nF=Jump\r\n\r\n[DefaultPlayer]\r\nName=Kim\r\n");
  const std::string teamsayKey = w.view.keyChoices.value(37).toStdString();
  ASSERT_FALSE(teamsayKey.empty());
  s.StartStop();

  EXPECT_EQ(w.dir.Read("game/System/TOUser.ini"),
            "[Engine.Input]\r\na=EXEC quavik_echo.txt\r\nF=Jump\r\n0=EXEC quavik_say.txt\r\n" + teamsayKey +
                "=EXEC quavik_teamsay.txt\r\n\r\n[DefaultPlayer]\r\nName=Kim\r\n");
  const std::string roster = "Quavik meldet: Kim exit (1.2.3.4:7777) J\xF6rg (Sucht Server...) \r\n";
  EXPECT_EQ(w.dir.Read("game/System/quavik_echo.txt"), "echo " + roster);
  EXPECT_EQ(w.dir.Read("game/System/quavik_say.txt"), "say " + roster);
  EXPECT_EQ(w.dir.Read("game/System/quavik_teamsay.txt"), "teamsay " + roster);

  // A tick rewrites them with the roster it just imported.
  http.Serve("/q.php", "Ann\r\n5.6.7.8\r\nd\r\nt\r\n");
  s.Tick();
  EXPECT_EQ(w.dir.Read("game/System/quavik_say.txt"), "say Quavik meldet: Ann (5.6.7.8) \r\n");
}

}  // namespace
