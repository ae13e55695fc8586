// The "Server-Info..." panel over a stand-in game server on loopback: it
// shows what the server answers (hostile names as plain text), refreshes
// once the server may be asked again, and its join button signals.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <atomic>

#include "serverinfo/server_info_cache.h"
#include "support/game_server_replies.h"
#include "support/loopback_udp_server.h"
#include "ui/server_info_panel.h"

namespace {

using namespace testing_support;

FakeServer Before() {
  return {"<b>Clan</b> Server", "DM-Deck16][", "DeathMatchPlus", 13,
          {{"Bernd", 3, 70, 255}, {"<img src=x>Anna", 12, 40, 255}}, {}};
}

FakeServer After() {
  FakeServer server = Before();
  server.map = "DM-Morpheus";
  server.players.push_back({"Carl", 20, 30, 255});
  return server;
}

struct PanelFixture : ::testing::Test {
  std::atomic<bool> changed{false};
  LoopbackUdpServer server{[this](const std::string& r) { return AnswerAs(changed ? After() : Before(), r); }};
  qint64 now = 0;
  serverinfo::ServerInfoCache cache{nullptr, [this] { return now; }};
  ServerInfoPanel panel{cache};
  const QString serverText = QStringLiteral("127.0.0.1:%1").arg(server.Port() - 1);

  void Open() {
    panel.ShowServer(serverText, *serverinfo::QueryTargetFor(serverText, 2));
    Show();
  }
  void Show() {
    panel.show();
    (void)QTest::qWaitForWindowExposed(&panel);
  }
  void AwaitStatus(const QString& start) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.status->text().startsWith(start); }, 3000))
        << panel.status->text().toStdString();
  }
  QStringList Column(int column) const {
    QStringList cells;
    for (int row = 0; row < panel.playerTable->rowCount(); ++row) cells << panel.playerTable->item(row, column)->text();
    return cells;
  }
};

TEST_F(PanelFixture, ShowsTheServersAnswerAsPlainText) {
  panel.ShowServer(serverText, *serverinfo::QueryTargetFor(serverText, 2));
  EXPECT_EQ(panel.status->text(), "Abfrage läuft...");
  EXPECT_EQ(panel.serverName->text(), serverText) << "the row's server until the answer is in";
  EXPECT_EQ(panel.addressValue->text(), serverText);
  EXPECT_FALSE(panel.refreshButton->isEnabled());
  Show();
  AwaitStatus("Stand: vor 0 s");
  EXPECT_EQ(panel.serverName->text(), "<b>Clan</b> Server");
  EXPECT_EQ(panel.serverName->textFormat(), Qt::PlainText);
  EXPECT_EQ(panel.mapValue->text(), "DM-Deck16][");
  EXPECT_EQ(panel.gameTypeValue->text(), "DeathMatchPlus");
  EXPECT_EQ(panel.playersValue->text(), "2/13");
  EXPECT_TRUE(panel.pingValue->text().endsWith(" ms"));
  EXPECT_EQ(Column(0), QStringList({"<img src=x>Anna", "Bernd"}));
  EXPECT_EQ(Column(1), QStringList({"12", "3"}));
  EXPECT_EQ(Column(2), QStringList({"40", "70"}));
  EXPECT_EQ(panel.windowTitle(), "Quavik RC5 - Server-Info");
}

TEST_F(PanelFixture, RefreshAsksAgainOnceTheServerIsDue) {
  Open();
  AwaitStatus("Stand:");
  EXPECT_EQ(server.Requests(), 1);
  changed = true;
  now += serverinfo::kRefreshMs - 1000;
  QTest::qWait(1200);
  EXPECT_FALSE(panel.refreshButton->isEnabled()) << "not before the refresh time is over";
  EXPECT_EQ(panel.status->text(), "Stand: vor 29 s");
  EXPECT_EQ(panel.refreshNote->text(), "Aktualisieren in 1 s") << "the panel says why the button is grey";

  now += 1000;
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel.refreshButton->isEnabled(); }, 2500));
  EXPECT_EQ(panel.refreshNote->text(), "");
  QTest::mouseClick(panel.refreshButton, Qt::LeftButton);
  EXPECT_EQ(panel.status->text(), "Abfrage läuft...");
  AwaitStatus("Stand: vor 0 s");
  EXPECT_EQ(server.Requests(), 2);
  EXPECT_EQ(panel.mapValue->text(), "DM-Morpheus");
  EXPECT_EQ(Column(0), QStringList({"Carl", "<img src=x>Anna", "Bernd"}));
}

TEST_F(PanelFixture, NoRefreshWhileIdle) {
  Open();
  AwaitStatus("Stand:");
  cache.SetIdle(true);
  now += 2 * serverinfo::kRefreshMs;
  QTest::qWait(1200);
  EXPECT_FALSE(panel.refreshButton->isEnabled());
  EXPECT_EQ(panel.refreshNote->text(), "Keine Abfragen, solange Quavik verborgen ist");
  QTest::mouseClick(panel.refreshButton, Qt::LeftButton);
  QTest::qWait(100);
  EXPECT_EQ(server.Requests(), 1);
}

TEST_F(PanelFixture, JoinSignalsTheRowsServer) {
  Open();
  QSignalSpy join(&panel, &ServerInfoPanel::JoinRequested);
  QTest::mouseClick(panel.joinButton, Qt::LeftButton);
  ASSERT_EQ(join.size(), 1);
  EXPECT_EQ(join.first().first().toString(), serverText);
}

TEST_F(PanelFixture, ANoAnswerSaysSo) {
  LoopbackUdpServer silent([](const std::string&) { return std::vector<std::string>{}; });
  serverinfo::ServerInfoCache quick(nullptr, {}, 100);
  ServerInfoPanel quiet(quick);
  const QString text = QStringLiteral("127.0.0.1:%1").arg(silent.Port() - 1);
  quiet.ShowServer(text, *serverinfo::QueryTargetFor(text, 4));
  ASSERT_TRUE(QTest::qWaitFor([&] { return quiet.status->text().startsWith("Keine Antwort"); }, 3000));
  EXPECT_EQ(quiet.mapValue->text(), "-");
  EXPECT_EQ(quiet.playerTable->rowCount(), 0);
  EXPECT_TRUE(quiet.joinButton->isEnabled()) << "a server that does not answer queries may still be joined";
}

}  // namespace
