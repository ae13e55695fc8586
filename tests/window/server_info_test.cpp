// The live server info in the real main window, against a game server
// stand-in on loopback: the tooltip of a roster row or a bookmark naming
// it, the rows' "Server-Info..." menu and its panel's join, and no query
// while the window sits in the tray.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "serverinfo/server_info_cache.h"
#include "support/game_server_replies.h"
#include "support/loopback_udp_server.h"
#include "support/window_fixture.h"

using testing_support::LoopbackUdpServer;
using testing_support::WindowDriver;
using testing_support::WindowFixture;

namespace {

constexpr int kAnswerWithinMs = 2000;

testing_support::FakeServer ClanServer() {
  return {"Clan Server", "TO-Rapid", "TO", 13, {{"Bernd", 3, 70, 255}, {"Anna", 12, 40, 255}}, {}};
}

const QStringList kModFiles{"INI=tacticalops.ini", "USERINI=TOUser.ini", "LOG=tacticalops.log"};

class ServerInfo : public ::testing::Test {
 protected:
  // The window shown, over an installed game whose bookmarks name the
  // stand-in first, and `guiLines` in the settings.
  WindowDriver& Open(const std::string& guiLines = "") {
    w.InstallGame();
    w.dir.Write("game/System/TacticalOps.ini", "[UBrowser.UBrowserFavoritesFact]\r\nFavorites[0]=Clan\\" +
                                                  standin.toStdString() + "\\x\\False\r\n"
                                                  "Favorites[1]=Named\\host.example:7777\\x\\False\r\n");
    w.dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=http://127.0.0.1:1/q.php\r\nPass=pw\r\nDirectory=" +
                                          w.gameDir.toStdString() + "\r\n[GUI]\r\nXPOS=120\r\nYPOS=80\r\n" + guiLines);
    WindowDriver& f = w.Open();
    w.dialogs.boxes.clear();
    f.window().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&f.window()));
    return f;
  }
  // Row 1 on the stand-in, row 2 not on a server, in `list`.
  static void FillRows(QTableWidget* list, const QString& server) {
    list->item(1, 0)->setText("Kim");
    list->item(1, 1)->setText(server);
    list->item(2, 0)->setText("Tom");
    list->item(2, 1)->setText("Offline");
  }
  static bool AwaitToolTip(const QString& start) {
    return QTest::qWaitFor([&] { return WindowDriver::ToolTipShown().startsWith(start); }, kAnswerWithinMs);
  }
  void TearDown() override { QToolTip::hideText(); }

  LoopbackUdpServer server{[](const std::string& request) { return AnswerAs(ClanServer(), request); }};
  const QString standin = QStringLiteral("127.0.0.1:%1").arg(server.Port() - 1);
  WindowFixture w;
};

TEST_F(ServerInfo, HoveringARowOnAServerShowsItsLiveInfo) {
  WindowDriver& f = Open();
  struct Case {
    const char* name;
    QTableWidget* list;
    const char* hint;  // the list's own tooltip
  } const cases[] = {
      {"clan list", f.ClanList(), "Registrierte Onlinespieler"},
      {"global list", f.GlobalList(), "Registrierte Onlinespieler, Doppelklick zum kopieren..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.list->isVisible()) f.session().SwitchList();
    FillRows(c.list, standin);
    f.HoverRow(c.list, 1);
    EXPECT_TRUE(AwaitToolTip("Clan Server\nKarte: TO-Rapid\nSpieler: 2/13")) << f.ToolTipShown().toStdString();
    EXPECT_TRUE(f.ToolTipShown().contains("Anna")) << f.ToolTipShown().toStdString();
    f.HoverRow(c.list, 2);
    EXPECT_EQ(f.ToolTipShown(), c.hint) << "a row without an address keeps the list's hint";
  }
  EXPECT_EQ(server.Requests(), 1) << "the second list's row was answered from the cache";
}

// The answer comes after the mouse has left the row: it does not pop up.
TEST_F(ServerInfo, ALateAnswerShowsOnlyWhileTheMouseStaysOnTheRow) {
  LoopbackUdpServer slow{[](const std::string& request) { return AnswerAs(ClanServer(), request); }, 0, 300};
  WindowDriver& f = Open();
  FillRows(f.ClanList(), QStringLiteral("127.0.0.1:%1").arg(slow.Port() - 1));
  QSignalSpy answers(&f.ServerInfo(), &serverinfo::ServerInfoCache::Answered);
  f.HoverRow(f.ClanList(), 1);
  EXPECT_EQ(f.ToolTipShown(), "Server-Info: Abfrage läuft...");
  f.MoveMouseAway();
  QToolTip::hideText();
  ASSERT_TRUE(answers.wait(kAnswerWithinMs));
  QTest::qWait(50);
  EXPECT_EQ(f.ToolTipShown(), "");

  f.HoverRow(f.ClanList(), 1);
  EXPECT_TRUE(f.ToolTipShown().startsWith("Clan Server")) << "kept from the answer";
  EXPECT_EQ(slow.Requests(), 1);
}

TEST_F(ServerInfo, RowMenuOpensThePanelWhoseJoinStartsTheGame) {
  WindowDriver& f = Open();
  FillRows(f.ClanList(), standin);
  f.RightClickRow(f.ClanList(), 2);
  EXPECT_TRUE(f.RowMenu()->isVisible());
  EXPECT_FALSE(f.MenuItem("ServerInfo1")->isEnabled()) << "no address, no server info";
  f.RowMenu()->hide();

  f.RightClickRow(f.ClanList(), 1);
  EXPECT_TRUE(f.MenuItem("ServerInfo1")->isEnabled());
  f.ChooseRowMenuItem("Server-Info...");
  ServerInfoPanel* panel = f.InfoPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return panel->serverName->text() == "Clan Server"; }, kAnswerWithinMs));
  EXPECT_EQ(panel->playersValue->text(), "2/13");

  panel->joinButton->click();
  ASSERT_EQ(w.shell.calls.size(), 1u);
  EXPECT_EQ(w.shell.calls[0].target, w.gameDir + "System/UnrealTournament.exe");
  EXPECT_EQ(w.shell.calls[0].arguments, QStringList{standin + "/index.unr"} + kModFiles);
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(server.Requests(), 1);
}

TEST_F(ServerInfo, BookmarksShowTheSameInfo) {
  WindowDriver& f = Open();
  f.ChooseBookmark(1);
  f.HoverBookmarkList();
  EXPECT_TRUE(AwaitToolTip("Clan mit Server-IP " + standin + "\nClan Server\nKarte: TO-Rapid"))
      << f.ToolTipShown().toStdString();
  f.HoverBookmarkEntry(1);
  EXPECT_TRUE(AwaitToolTip("Clan Server\nKarte: TO-Rapid")) << f.ToolTipShown().toStdString();
  f.HoverBookmarkEntry(2);
  EXPECT_FALSE(f.ToolTipShown().contains("Server-Info")) << "a host name is no address the game joins";
  f.Choice("serverliste")->hidePopup();
  f.ChooseBookmark(0);
  f.HoverBookmarkList();
  EXPECT_EQ(f.ToolTipShown(), QStringLiteral("Kein Server gewählt..."));
  EXPECT_EQ(server.Requests(), 1);
}

// Minimised into the tray (or, without one, onto the task bar) nobody looks
// at a row: nothing is asked until the tray's "show" brings the window back.
TEST_F(ServerInfo, NothingIsAskedWhileTheWindowIsInTheTrayOrMinimised) {
  int requests = 0;
  for (const bool trayThere : {true, false}) {
    SCOPED_TRACE(trayThere ? "tray" : "task bar");
    WindowDriver& f = Open("TrayMinimize=1\r\n");  // a window of its own, with a cache of its own
    f.Tray()->trayAvailable = [trayThere] { return trayThere; };
    FillRows(f.ClanList(), standin);
    f.ChooseMenuItem("Minimieren");
    EXPECT_TRUE(trayThere ? !f.window().isVisible() : f.window().isMinimized());
    f.HoverRow(f.ClanList(), 1);
    EXPECT_FALSE(f.ToolTipShown().contains("Server-Info")) << f.ToolTipShown().toStdString();
    QTest::qWait(300);
    EXPECT_EQ(server.Requests(), requests);

    f.Tray()->showWindow->trigger();
    ASSERT_TRUE(f.window().isVisible() && !f.window().isMinimized());
    f.HoverRow(f.ClanList(), 1);
    EXPECT_TRUE(AwaitToolTip("Clan Server"));
    EXPECT_EQ(server.Requests(), ++requests);
    QToolTip::hideText();
  }
}

}  // namespace
