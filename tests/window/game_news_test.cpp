// The main window's game integration and news panel on real files: launches
// from the roster and the bookmarks (one of them a real program), the game
// log check at start-up, and the news against a loopback server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <chrono>
#include <thread>

#include "support/loopback_http_server.h"
#include "app/session.h"
#include "support/window_fixture.h"

using platform::BoxKind;
using platform::Buttons;
using testing_support::LoopbackHttpServer;
using testing_support::WindowFixture;

using testing_support::WindowDriver;

namespace {

const QStringList kModFiles{"INI=tacticalops.ini", "USERINI=TOUser.ini", "LOG=tacticalops.log"};

TEST(RosterLaunch, DoubleClickStartsTheGameOnTheRowsServer) {
  WindowFixture w;
  w.InstallGame();
  w.WriteLoginSettings("http://127.0.0.1:1/q.php");
  WindowDriver& f = w.Open();
  f.ClanList()->setItem(1, 1, new QTableWidgetItem("1.2.3.4:7777"));
  f.ClanList()->setItem(2, 1, new QTableWidgetItem("offline"));
  f.ClanList()->setItem(3, 1, new QTableWidgetItem("Offline"));

  f.DoubleClickClanRow(1);
  ASSERT_EQ(w.shell.calls.size(), 1u);
  const testing_support::ShellCall& call = w.shell.calls[0];
  EXPECT_EQ(call.kind, "start");
  EXPECT_EQ(call.target, w.gameDir + "System/UnrealTournament.exe");
  EXPECT_EQ(call.arguments, QStringList{"1.2.3.4:7777/index.unr"} + kModFiles);
  EXPECT_EQ(call.workingDirectory, w.gameDir + "System");
  EXPECT_TRUE(call.maximised);

  f.DoubleClickClanRow(2);
  EXPECT_TRUE(w.dialogs.boxes.empty());
  f.DoubleClickClanRow(3);
  ASSERT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.dialogs.boxes[0].text,
            QStringLiteral("Dieser Eintrag enthält keine gültige Server-IP. Sie können dort nicht spielen!"));
  EXPECT_EQ(w.dialogs.boxes[0].buttons, Buttons::YesOnly);
  EXPECT_EQ(w.shell.calls.size(), 1u);
}

const std::string kGameIni =
    "[Engine.Engine]\r\nGameRenderDevice=SoftDrv.SoftwareRenderDevice\r\n\r\n"
    "[UBrowser.UBrowserFavoritesFact]\r\nFavoriteCount=4\r\n"
    "Favorites[0]=Clan Server\\10.0.0.5\\10.0.0.5:7778\\False\r\n"
    "Favorites[1]=Fun\\1.2.3.4:7777\\1.2.3.4:7778\\False\r\n"
    "Favorites[5]=Late\\host.example:7777\\host.example:7778\\False\r\n"
    "Favorites[100]=Never\\9.9.9.9\\9.9.9.9\\False\r\n\r\n"
    "[UBrowser.UBrowserHTTPFact]\r\nFavorites[2]=Elsewhere\\8.8.8.8\\x\r\n";

TEST(Bookmarks, FromTheGameIniIntoTheListHintAndLaunch) {
  WindowFixture w;
  w.InstallGame();
  w.dir.Write("game/System/TacticalOps.ini", kGameIni);
  w.WriteLoginSettings("http://127.0.0.1:1/q.php");
  WindowDriver& f = w.Open();

  QStringList entries;
  for (int i = 0; i < f.Choice("serverliste")->count(); ++i) entries.append(f.Choice("serverliste")->itemText(i));
  EXPECT_EQ(entries, (QStringList{"", "Clan Server", "Fun", "Late"}));
  EXPECT_EQ(f.Choice("serverliste")->currentIndex(), 0);
  EXPECT_EQ(f.Choice("serverliste")->toolTip(), QStringLiteral("Kein Server gewählt..."));

  f.ChooseBookmark(3);
  EXPECT_EQ(f.Choice("serverliste")->toolTip(), "Late mit Server-IP host.example:7777");
  f.Click("Tactical Ops starten");
  f.ChooseBookmark(0);
  EXPECT_EQ(f.Choice("serverliste")->toolTip(), QStringLiteral("Kein Server gewählt..."));
  f.Click("Tactical Ops starten");

  ASSERT_EQ(w.shell.calls.size(), 2u);
  EXPECT_EQ(w.shell.calls[0].arguments, QStringList{"host.example:7777/index.unr"} + kModFiles);
  EXPECT_EQ(w.shell.calls[1].arguments, QStringList{"Entry.unr"} + kModFiles);
  EXPECT_EQ(w.shell.calls[1].workingDirectory, w.gameDir + "System");
  EXPECT_TRUE(w.dialogs.boxes.empty());
}

TEST(Bookmarks, RealProgramGetsTheServerAsOneArgumentInTheSystemDirectory) {
  platform::SystemShell shell;
  WindowFixture w;
  w.InstallGame();
  // The game stands in as a script that notes its directory and arguments.
  const QString game = w.dir.Write("game/System/UnrealTournament.exe",
                                   "#!/bin/sh\n{ pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > seen.tmp\n"
                                   "mv seen.tmp seen.txt\n");
  QFile::setPermissions(game, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  w.dir.Write("game/System/TacticalOps.ini",
              "[UBrowser.UBrowserFavoritesFact]\r\nFavorites[0]=Odd\\10.0.0.5:7777 $(touch x); y\\z\r\n");
  w.WriteLoginSettings("http://127.0.0.1:1/q.php");
  w.services.reset(new app::Services{w.dialogs, shell, w.services->paths, w.services->waits, w.services->terminate});
  WindowDriver& f = w.Open();
  f.ChooseBookmark(1);
  f.Click("Tactical Ops starten");

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!w.dir.Exists("game/System/seen.txt") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const QString systemDir = QFileInfo(w.gameDir + "System").canonicalFilePath();
  EXPECT_EQ(w.dir.Read("game/System/seen.txt"),
            systemDir.toStdString() +
                "\n10.0.0.5:7777 $(touch x); y/index.unr\nINI=tacticalops.ini\nUSERINI=TOUser.ini\nLOG=tacticalops.log\n");
  EXPECT_FALSE(w.dir.Exists("game/System/x"));
}

TEST(GlobalList, DoubleClickCopiesTheRowsText) {
  WindowFixture w;
  w.WriteCompleteSettings();
  WindowDriver& f = w.Open();
  QApplication::clipboard()->clear();
  f.DoubleClickGlobalRow(2);
  EXPECT_EQ(QApplication::clipboard()->text(), "for the complete list");
  EXPECT_TRUE(w.shell.calls.empty());
}

struct LogSizeCase {
  const char* name;
  bool ticked;
  qint64 bytes;
  bool kept;
};
void PrintTo(const LogSizeCase& c, std::ostream* os) { *os << c.name; }

class LogSize : public ::testing::TestWithParam<LogSizeCase> {};

TEST_P(LogSize, StartUpDeletesTheLogFromFiveMebibytesWhenTicked) {
  const LogSizeCase& c = GetParam();
  WindowFixture w;
  w.InstallGame("");
  QFile log(w.dir.File("game/System/TacticalOps.log"));
  ASSERT_TRUE(log.resize(c.bytes));  // sparse
  w.WriteLoginSettings("http://127.0.0.1:1/q.php", "", c.ticked ? "TOLogSizeCheck=1\r\n" : "TOLogSizeCheck=0\r\n");
  WindowDriver& f = w.Open();
  EXPECT_EQ(f.Check("set_logkill")->isChecked(), c.ticked);
  EXPECT_EQ(log.exists(), c.kept);
  if (c.kept) {
    EXPECT_EQ(log.size(), c.bytes);
  }
  EXPECT_TRUE(w.dialogs.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Window, LogSize,
                         ::testing::Values(LogSizeCase{"FiveMebibytesDeleted", true, 5242880, false},
                                           LogSizeCase{"OneByteLessKept", true, 5242879, true},
                                           LogSizeCase{"NotTickedKept", false, 5242880, true}),
                         [](const auto& info) { return std::string(info.param.name); });

enum class NewsServer { Serves, NotFound, Unreachable, Slow };

struct NewsCase {
  const char* name;
  NewsServer server;
  const char* earlierFile;  // null: none
  QString memo;
  bool cannotOpenBox;
};
void PrintTo(const NewsCase& c, std::ostream* os) { *os << c.name; }

class News : public ::testing::TestWithParam<NewsCase> {
 protected:
  LoopbackHttpServer http;
  WindowFixture w;
};

TEST_P(News, PanelShowsWhatArrivedWithinTheWait) {
  const NewsCase& c = GetParam();
  const std::string fresh = "Neue Version\r\nGr\xFC\xDF" "e an alle\r\n";
  switch (c.server) {
    case NewsServer::Serves: http.Serve("/to/quaviknews.txt", fresh); break;
    case NewsServer::NotFound: break;
    case NewsServer::Unreachable: break;
    case NewsServer::Slow:
      http.Handle("GET", "/to/quaviknews.txt", [&](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        res.set_content(fresh, "text/plain");
      });
      break;
  }
  if (c.earlierFile) w.dir.Write("program/quaviknews.txt", c.earlierFile);
  // Logged in against the clan script on the same server; no tick comes
  // within the test (ten minutes, scaled).
  http.Serve("/q.php", "Kim\r\n1.2.3.4:7777\r\nd\r\nt\r\n");
  w.InstallGame();
  w.WriteLoginSettings(http.Url("/q.php"), "", "Update-Intervall=9\r\n");
  WindowDriver& f = w.Open();
  f.session().newsUrl = QString::fromStdString(
      c.server == NewsServer::Unreachable
          ? "http://127.0.0.1:" + std::to_string(WindowFixture::ClosedLoopbackPort()) + "/to/quaviknews.txt"
          : http.Url("/to/quaviknews.txt"));
  f.session().newsTransfer().ConnectTimeoutMs = 500;
  f.Click("Anmelden");
  ASSERT_TRUE(f.session().LoggedIn());
  QString memoDuringWait;
  QTimer::singleShot(0, &f.window(), [&] { memoDuringWait = f.NewsText()->toPlainText(); });
  f.Click("Aktuelle News online abrufen");

  EXPECT_TRUE(memoDuringWait.startsWith("Einen Moment, die aktuellen News werden von der Website "));
  EXPECT_FALSE(f.Panel("NewsPanel")->isHidden());
  EXPECT_EQ(f.NewsText()->toPlainText(), c.memo);
  const QString cannotOpen = "Cannot open file " + w.programDir + "/quaviknews.txt";
  ASSERT_EQ(w.dialogs.boxes.size(), c.cannotOpenBox ? 1u : 0u);
  if (c.cannotOpenBox) {
    EXPECT_EQ(w.dialogs.boxes[0].text, cannotOpen);
  }
  EXPECT_TRUE(f.session().LoggedIn());
  EXPECT_TRUE(f.Image("updateicon")->isHidden());
  if (c.server == NewsServer::Slow) {
    // The late news land on disk for the next click.
    ASSERT_TRUE(f.session().newsTransfer().WaitUntilIdle(5000));
    EXPECT_EQ(w.dir.Read("program/quaviknews.txt"), fresh);
  }
}

const QString kUnreachable = QStringLiteral("Die News konnten nicht geladen werden.");

INSTANTIATE_TEST_SUITE_P(
    Window, News,
    ::testing::Values(
        NewsCase{"ServedTextDecoded", NewsServer::Serves, "Alt\r\n", QStringLiteral("Neue Version\nGrüße an alle"), false},
        NewsCase{"NotFoundShowsEarlierFile", NewsServer::NotFound, "Alt\r\n", "Alt", false},
        // Plain text: a Ctrl-Z byte is a character, any line end ends a line.
        NewsCase{"EarlierFileIsPlainText", NewsServer::NotFound, "Alt\r\nA\x1A" "B\nC\rD\r\n",
                 QStringLiteral("Alt\nA\x1A" "B\nC\nD"), false},
        NewsCase{"NotFoundWithoutFileReportsIt", NewsServer::NotFound, nullptr, "", true},
        NewsCase{"UnreachableSaysSoAboveEarlierFile", NewsServer::Unreachable, "Alt\r\n", kUnreachable + "\n\nAlt", false},
        NewsCase{"UnreachableWithoutFileSaysSo", NewsServer::Unreachable, nullptr, kUnreachable, false},
        NewsCase{"SlowShowsEarlierFile", NewsServer::Slow, "Alt\r\n", "Alt", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
