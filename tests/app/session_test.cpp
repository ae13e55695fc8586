// The session's flows without a window: a fake view records what the session
// shows and stands in for the setup panel; the clan script is a loopback
// server, the game a real directory.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <chrono>
#include <thread>

#include "app/services.h"
#include "app/session.h"
#include "fake_view.h"
#include "support/loopback_http_server.h"
#include "support/recording_dialogs.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

using testing_support::LoopbackHttpServer;
using testing_support::RecordingDialogs;
using testing_support::RecordingShell;
using testing_support::TempDir;
using testing_support::FakeView;

namespace {

const std::string kAnswer = "Kim\r\n1.2.3.4:7777\r\nd\r\nt\r\nLee\r\nSucht Server...\r\nd\r\nt\r\n";

class SessionFlow : public ::testing::Test {
 protected:
  SessionFlow() {
    QDir().mkpath(dir.File("program"));
    QDir().mkpath(dir.File("work"));
    dir.Write("game/System/UnrealTournament.exe", "MZ");
    dir.Write("game/System/TOUser.ini", "[DefaultPlayer]\r\nName=Kim\r\n");
    dir.Write("game/System/TacticalOps.log", "Log: LoadMap: 1.2.3.4:7777/TO-Rapid?Name=Kim?Team=1\r\n");
    dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=" + http.Url("/q.php") +
                                        "\r\nPass=pw\r\nUpdate-Intervall=9\r\nDirectory=" +
                                        dir.File("game/").toStdString() + "\r\n");
    services = std::make_unique<app::Services>(app::Services{
        dialogs, shell, platform::AppPaths{dir.File("program"), dir.File("work"), {}}, platform::Waits{0.01},
        [this] { ++terminations; }});
  }

  // The master script's address joins the stored settings.
  void WithMaster() {
    dir.Write("program/quavik.ini",
              dir.Read("program/quavik.ini") + "Global-Script-URL=" + http.Url("/m.php") + "\r\n");
  }

  app::Session& Start() {
    session = std::make_unique<app::Session>(*services, view);
    session->Start();
    session->reportTransfer().ConnectTimeoutMs = 1000;
    session->reportTransfer().StallTimeoutMs = 2000;
    return *session;
  }

  LoopbackHttpServer http;
  TempDir dir;
  RecordingDialogs dialogs;
  RecordingShell shell;
  int terminations = 0;
  std::unique_ptr<app::Services> services;
  FakeView view;
  std::unique_ptr<app::Session> session;
};

TEST_F(SessionFlow, StartShowsTheStoredSettingsAndTheGame) {
  app::Session& s = Start();
  EXPECT_EQ(view.panel.scriptUrl, QString::fromStdString(http.Url("/q.php")));
  EXPECT_EQ(view.panel.directory, dir.File("game/"));
  EXPECT_EQ(s.settings().updateInterval, 9);
  EXPECT_EQ(view.playerCaption, "Username: Kim");
  EXPECT_FALSE(view.keyChoices.isEmpty());
  EXPECT_FALSE(view.setupShown) << "complete settings: no first-start notice";
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_FALSE(s.LoggedIn());
}

TEST_F(SessionFlow, LoginReportsTypedValuesShowsTheRosterAndLogoutReportsOffline) {
  http.Serve("/q.php", kAnswer);
  app::Session& s = Start();
  view.panel.pass = "typed";  // typed into the panel, never saved
  view.Type(s);
  s.StartStop();
  EXPECT_TRUE(s.LoggedIn());
  ASSERT_EQ(http.RequestCount(), 1u);
  EXPECT_EQ(http.Requests()[0].Param("pass"), "typed") << "a report saves what the panel holds";
  EXPECT_NE(dir.Read("program/quavik.ini").find("Pass=typed\r\n"), std::string::npos);
  EXPECT_EQ(view.loggedInShown, std::vector<bool>{true});
  ASSERT_EQ(view.roster.size(), 2u);
  EXPECT_EQ(view.roster[0].name, "Kim");
  EXPECT_EQ(view.roster[1].onlineOn, "Sucht Server...");
  EXPECT_EQ(s.rosterSummary(), "Quavik meldet: Kim (1.2.3.4:7777) Lee (Sucht Server...) ");
  EXPECT_GE(view.indicatorShown, 1);

  s.StartStop();
  EXPECT_FALSE(s.LoggedIn());
  EXPECT_EQ(view.loggedInShown, (std::vector<bool>{true, false}));
  ASSERT_EQ(http.RequestCount(), 2u);
  EXPECT_EQ(http.Requests()[1].Param("map"), "<i>offline</i>");
}

// The wait before an import ends as soon as the report's answer is complete,
// whatever it says; a script that never answers is waited for up to the
// bound (the fixed wait and the answer grace), and its report brings no list.
TEST_F(SessionFlow, ImportWaitEndsWithTheAnswerAndAtTheBoundWithout) {
  services->waits = platform::Waits{0.25};  // the fixed wait: 1000 ms
  const auto timed = [](const std::function<void()>& action) {
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.elapsed();
  };
  struct Case {
    const char* name;
    std::string answer;
    bool loggedInAfter;
  };
  for (const Case& c : {Case{"roster", kAnswer, true}, Case{"refused password", "AUTH_FAILED!\r\nx\r\nx\r\nx\r\n", false}}) {
    SCOPED_TRACE(c.name);
    http.Serve("/q.php", c.answer);
    session.reset();
    app::Session& s = Start();
    EXPECT_LT(timed([&] { s.StartStop(); }), 500) << "login";
    EXPECT_EQ(s.LoggedIn(), c.loggedInAfter);
    EXPECT_FALSE(view.roster.empty());
    if (s.LoggedIn()) {
      EXPECT_LT(timed([&] { s.StartStop(); }), 500) << "logout";
      EXPECT_FALSE(s.LoggedIn());
    }
  }

  view.roster.clear();
  http.Handle("GET", "/q.php", [](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1800));
    res.set_content(kAnswer, "text/plain");
  });
  session.reset();
  app::Session& s = Start();
  s.reportTransfer().StallTimeoutMs = 10000;
  s.cycle().answerGraceMs = 100;
  const qint64 elapsed = timed([&] { s.StartStop(); });
  EXPECT_GE(elapsed, 1000);
  EXPECT_LT(elapsed, 1500);
  EXPECT_TRUE(s.LoggedIn());
  EXPECT_TRUE(view.roster.empty()) << "an answer not complete by the bound counts as none";
}

TEST_F(SessionFlow, ListSwitchIsTheSessionsStateAndReloadFollowsIt) {
  http.Serve("/q.php", kAnswer);
  app::Session& s = Start();
  s.SwitchList();
  EXPECT_FALSE(s.ClanListShown());
  EXPECT_FALSE(view.clanListShown);
  s.SwitchList();
  EXPECT_TRUE(s.ClanListShown());
  EXPECT_TRUE(view.clanListShown);
}

TEST_F(SessionFlow, CloseWhileLoggedInAsksReportsOfflineAndEnds) {
  http.Serve("/q.php", kAnswer);
  app::Session& s = Start();
  s.StartStop();
  ASSERT_TRUE(s.LoggedIn());
  dialogs.boxes.clear();
  s.ApplicationClose();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].buttons, platform::Buttons::YesNo);
  ASSERT_EQ(http.RequestCount(), 2u);
  EXPECT_EQ(http.Requests()[1].Param("map"), "<i>offline</i>");
  EXPECT_EQ(terminations, 1);
  EXPECT_TRUE(s.Terminating());
  EXPECT_FALSE(QFile::exists(dir.File("program/zephanor.tmp")));
}

TEST_F(SessionFlow, OfflineReportsGoOutUnderTheNameReportedOnline) {
  // The online reports take the name from the game log; the game's INI is
  // renamed while logged in. Logging out, by the button or by a close
  // answered "Ja", must clear the entries the scripts list, not a new one.
  for (const bool byClose : {false, true}) {
    SCOPED_TRACE(byClose ? "close" : "logout button");
    LoopbackHttpServer scripts;
    scripts.Serve("/q.php", kAnswer);
    scripts.Serve("/m.php", "OK\r\n");
    dir.Write("game/System/TOUser.ini", "[DefaultPlayer]\r\nName=Kim\r\n");
    dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=" + scripts.Url("/q.php") +
                                        "\r\nGlobal-Script-URL=" + scripts.Url("/m.php") +
                                        "\r\nPass=pw\r\nDirectory=" + dir.File("game/").toStdString() + "\r\n");
    app::Session& s = Start();
    s.StartStop();
    ASSERT_TRUE(s.LoggedIn());
    dir.Write("game/System/TOUser.ini", "[DefaultPlayer]\r\nName=DemoSpieler\r\n");
    if (byClose) {
      s.ApplicationClose();
    } else {
      s.StartStop();
    }
    std::vector<std::string> offline;
    for (const auto& request : scripts.Requests())
      if (request.Param("map") == "<i>offline</i>") offline.push_back(request.path + " " + request.Param("name"));
    EXPECT_EQ(offline, (std::vector<std::string>{"/q.php Kim", "/m.php Kim"}));
  }
}

TEST_F(SessionFlow, AFailedClanReportLeavesTheClanListAsItWas) {
  // The clan script fails (not found, later a server error) while the
  // master script answers into the same answer file: the clan list keeps
  // what the clan script last sent and never shows the master's answer.
  http.Serve("/m.php", "Master\r\nirgendwo\r\n11.12.2026\r\n09:00\r\n");
  WithMaster();
  app::Session& s = Start();
  s.StartStop();  // clan: not found; master
  ASSERT_TRUE(s.LoggedIn());
  s.Tick();  // clan: not found
  EXPECT_TRUE(view.roster.empty());

  http.Serve("/q.php", kAnswer);
  s.Tick();  // clan; master
  ASSERT_EQ(view.roster.size(), 2u);
  http.Serve("/q.php", "Fehler", 500);
  s.Tick();  // clan: server error
  ASSERT_EQ(view.roster.size(), 2u);
  EXPECT_EQ(view.roster[0].name, "Kim");
  EXPECT_EQ(s.rosterSummary(), "Quavik meldet: Kim (1.2.3.4:7777) Lee (Sucht Server...) ");
  EXPECT_EQ(http.RequestCount(), 6u);
}

TEST_F(SessionFlow, ASaveAppliesANewGameDirectoryAndIntervalAtOnce) {
  dir.Write("game2/System/UnrealTournament.exe", "MZ");
  dir.Write("game2/System/TOUser.ini", "[DefaultPlayer]\r\nName=Ann\r\n");
  dir.Write("game2/System/TacticalOps.ini",
            "[UBrowser.UBrowserFavoritesFact]\r\nFavorites[0]=Clanserver\\1.2.3.4:7777\\\r\n");
  http.Serve("/q.php", kAnswer);
  app::Session& s = Start();
  ASSERT_EQ(view.playerCaption, "Username: Kim");
  ASSERT_TRUE(view.bookmarks.isEmpty());

  view.panel.directory = dir.File("game2");  // as the directory chooser puts it
  view.Type(s);
  s.SaveSettingsConfirmed();
  EXPECT_EQ(view.playerCaption, "Username: Ann");
  EXPECT_EQ(view.bookmarks, QStringList({"", "Clanserver"}));

  const platform::Waits waits = services->waits;
  s.StartStop();
  ASSERT_TRUE(s.LoggedIn());
  EXPECT_EQ(s.UpdatePeriodMs(), waits.Scaled(10 * 60000));
  view.panel.updateInterval = 0;
  view.Type(s);
  s.SaveSettingsConfirmed();
  EXPECT_EQ(s.UpdatePeriodMs(), waits.Scaled(60000)) << "the running login takes the new interval";
  EXPECT_TRUE(s.LoggedIn());
}

TEST_F(SessionFlow, ActionsReadWhatThePanelHoldsNow) {
  app::Session& s = Start();
  view.panel.clansite = "http://clan.example/";
  view.panel.trayMinimize = true;
  view.Type(s);
  s.OpenClanSite();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].target, "http://clan.example/");
  s.Minimize();
  EXPECT_FALSE(view.minimizedIntoTray) << "no tray on this desktop";
}

TEST_F(SessionFlow, NewsShowWhatArrivedOrNothing) {
  // Served: the lines, read as Windows-1252, after the notice. Not found
  // with no earlier file: an empty panel and the error that names the file
  // (the application's guard shows it in a box).
  http.Serve("/to/quaviknews.txt", "Neue Version\r\nGr\xFC\xDF" "e an alle\r\n");
  app::Session& s = Start();
  s.newsUrl = QString::fromStdString(http.Url("/to/quaviknews.txt"));
  s.FetchNews();
  EXPECT_TRUE(view.newsNotice.contains("www.quavik.de")) << view.newsNotice.toStdString();
  EXPECT_EQ(view.news, QStringList({"Neue Version", QString::fromUtf8("Grüße an alle")}));
  EXPECT_TRUE(dialogs.boxes.empty());

  QFile::remove(dir.File("program/quaviknews.txt"));
  s.newsUrl = QString::fromStdString(http.Url("/to/missing.txt"));
  QString error;
  try {
    s.FetchNews();
  } catch (const std::exception& e) {
    error = QString::fromLocal8Bit(e.what());
  }
  EXPECT_TRUE(view.news.isEmpty());
  EXPECT_EQ(error, "Cannot open file " + dir.File("program") + "/quaviknews.txt");
}

}  // namespace
