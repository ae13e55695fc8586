// The presence cycle of the real main window against a clan script and a
// master server on loopback: what the servers receive and when, what the
// window makes of their answers, and the files it writes into the game.
#include <gtest/gtest.h>

#include <functional>

#include <QFile>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "presence/roster.h"
#include "support/file_replace_counter.h"
#include "support/loopback_http_server.h"
#include "app/session.h"
#include "support/window_fixture.h"

using platform::Beep;
using platform::BoxKind;
using platform::Buttons;
using testing_support::LoopbackHttpServer;
using testing_support::RecordedRequest;
using testing_support::WindowFixture;
using Params = std::vector<std::pair<std::string, std::string>>;

using testing_support::WindowDriver;

namespace {

const QString kUrlNotFoundMessage = QStringLiteral(
    "Achtung: der von Ihnen angegebene Server-URL konnte nicht gefunden werden, ein Login ist nicht "
    "möglich. Bitte prüfen Sie den im Setup hinterlegten Serverpfad oder kontaktieren Sie Ihren "
    "Webmaster...");

const std::string kTwoRecords = "Kim\r\n1.2.3.4:7777\r\n2024-05-01\r\n20:15\r\nLee\r\nSucht Server...\r\nd\r\nt\r\n";

// An answer that a slow script writes in two parts.
const std::string kFirstPart = "Kim\r\n1.2.3.4:7777\r\nd\r\nt\r\n";
const std::string kSecondPart = "Lee\r\n5.6.7.8\r\nd\r\nt\r\n";

// Sends the first part, and the second one long after the fixed wait.
// Runs `action` once, as soon as the window waits for a report's answer
// with the update indicator showing.
void WhenWaitingForTheAnswer(WindowDriver& f, std::function<void()> action) {
  auto* poll = new QTimer(&f.window());
  QObject::connect(poll, &QTimer::timeout, &f.window(), [poll, &f, action] {
    if (f.Image("updateicon")->isHidden()) return;
    poll->stop();
    poll->deleteLater();
    action();
  });
  poll->start(1);
}

void AnswerInTwoParts(httplib::Response& res) {
  res.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
    sink.write(kFirstPart.data(), kFirstPart.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    sink.write(kSecondPart.data(), kSecondPart.size());
    sink.done();
    return true;
  });
}

std::string Records(int count) {
  std::string answer;
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    answer += "P" + n + "\r\ns" + n + "\r\nd" + n + "\r\nt" + n + "\r\n";
  }
  return answer;
}

QString Cell(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item ? item->text() : QString();
}

size_t Count(const std::vector<testing_support::RecordedBox>& boxes, const QString& text) {
  size_t n = 0;
  for (const auto& box : boxes) n += box.text == text;
  return n;
}

// The clan script answers at /q.php, the master server at /m.php; the window
// is destroyed before the server (declaration order).
class Presence : public ::testing::Test {
 protected:
  WindowDriver& Open(bool withMaster = true, const std::string& extraMainLines = "",
               const std::string& log = WindowFixture::kOnServerLog) {
    w.InstallGame(log);
    w.WriteLoginSettings(http.Url("/q.php"), withMaster ? http.Url("/m.php") : "", extraMainLines);
    WindowDriver& f = w.Open();
    f.session().reportTransfer().ConnectTimeoutMs = 1000;
    f.session().reportTransfer().StallTimeoutMs = 2000;
    return f;
  }

  // One letter per request in arrival order: C clan, M master; lower case
  // for an offline report.
  std::string Codes() const {
    std::string codes;
    for (const RecordedRequest& r : http.Requests()) {
      char c = r.path == "/q.php" ? 'C' : r.path == "/m.php" ? 'M' : '?';
      if (r.Param("map") == "<i>offline</i>") c = char(std::tolower(c));
      codes += c;
    }
    return codes;
  }

  LoopbackHttpServer http;
  WindowFixture w;
};

// Actions: L the login image (log in or out), T a timer tick, S the list
// switch, R the reload button.
struct CycleCase {
  const char* name;
  bool master;
  std::string masterAnswer;
  std::string actions;
  std::string requests;
  size_t masterRefusals;
  size_t urlNotFound;
  bool loggedInAfter;
};
void PrintTo(const CycleCase& c, std::ostream* os) { *os << c.name; }

class Cycle : public Presence, public ::testing::WithParamInterface<CycleCase> {};

TEST_P(Cycle, SendsReportsToTheTargetsDue) {
  const CycleCase& c = GetParam();
  http.Serve("/q.php", kTwoRecords);
  http.Serve("/m.php", c.masterAnswer);
  WindowDriver& f = Open(c.master);
  for (const char action : c.actions) {
    switch (action) {
      case 'L': f.Click(f.session().LoggedIn() ? "Abmelden" : "Anmelden"); break;
      case 'T': f.session().Tick(); break;
      case 'S': f.Click(f.session().ClanListShown() ? "Globales Verzeichnis" : "Clanverzeichnis"); break;
      case 'R': f.Click("Aktualisieren"); break;
    }
  }
  EXPECT_EQ(Codes(), c.requests);
  EXPECT_EQ(Count(w.dialogs.boxes, presence::kMasterPasswordRefusedMessage), c.masterRefusals);
  EXPECT_EQ(Count(w.dialogs.boxes, kUrlNotFoundMessage), c.urlNotFound);
  EXPECT_EQ(w.dialogs.boxes.size(), c.masterRefusals + c.urlNotFound);
  EXPECT_EQ(f.session().cycle().GlobalAuthFailed(), c.masterRefusals > 0);
  EXPECT_EQ(f.session().LoggedIn(), c.loggedInAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Window, Cycle,
    ::testing::Values(
        CycleCase{"MasterOnLoginThenEverySecondTick", true, "OK\r\n", "LTTTTTTL", "CMCCMCCMCCMcm", 0, 0, false},
        CycleCase{"WithoutMasterUrlOnlyTheClan", false, "OK\r\n", "LTTTTTTL", "CCCCCCCc", 0, 0, false},
        CycleCase{"TickCountSurvivesLogout", true, "OK\r\n", "LTLLT", "CMCcmCMCM", 0, 0, true},
        // Refused: no master report by tick or logout until the next login;
        // the reload with the global list shown still sends one.
        CycleCase{"RefusedMasterPasswordStopsMasterReports", true, "AUTH_FAILED!\r\nx\r\n", "LTTSRSLL", "CMCCMcCM", 2, 0, true},
        // The global list's reload without a master URL asks for "?name=...",
        // which can't be opened: the login ends.
        CycleCase{"GlobalReloadWithoutMasterUrlEndsTheLogin", false, "", "LSR", "C", 0, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Presence, RefusedClanPasswordLogsOutWithoutOfflineReport) {
  http.Serve("/q.php", "AUTH_FAILED!\r\nx\r\ny\r\nz\r\n");
  http.Serve("/m.php", "OK\r\n");
  WindowDriver& f = Open();
  f.Click("Anmelden");

  EXPECT_EQ(w.dialogs.events, (std::vector<QString>{"beep 0", "box " + presence::kClanPasswordRefusedMessage}));
  EXPECT_EQ(w.dialogs.boxes.at(0).buttons, Buttons::YesOnly);
  EXPECT_EQ(w.dialogs.boxes.at(0).kind, BoxKind::Error);
  EXPECT_FALSE(f.session().LoggedIn());
  EXPECT_FALSE(f.Image("button_inaktiv")->isHidden());
  EXPECT_TRUE(f.Image("button_aktiv")->isHidden());
  EXPECT_TRUE(f.Image("Image3")->isHidden());
  // Only the refusal's cell is emptied; the rest of the record stays.
  EXPECT_EQ(Cell(f.ClanList(), 1, 0), "");
  EXPECT_EQ(Cell(f.ClanList(), 1, 1), "x");
  EXPECT_EQ(Cell(f.ClanList(), 1, 2), "y, z");
  EXPECT_EQ(f.session().rosterSummary(), "Quavik meldet: AUTH_FAILED! (x) ");
  // The login's master report and the scripts still follow; no offline report.
  EXPECT_EQ(Codes(), "CM");
  EXPECT_EQ(w.dir.Read("game/System/quavik_echo.txt"), "echo Quavik meldet: AUTH_FAILED! (x) \r\n");
}

TEST_F(Presence, UnreachableScriptEndsTheLoginWithoutOfflineReport) {
  http.Serve("/m.php", "OK\r\n");
  w.InstallGame();
  w.WriteLoginSettings("http://127.0.0.1:" + std::to_string(WindowFixture::ClosedLoopbackPort()) + "/q.php",
                       http.Url("/m.php"));
  WindowDriver& f = w.Open();
  f.session().reportTransfer().ConnectTimeoutMs = 500;
  f.Click("Anmelden");

  ASSERT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.dialogs.boxes[0].text, kUrlNotFoundMessage);
  EXPECT_EQ(w.dialogs.boxes[0].buttons, Buttons::YesOnly);
  EXPECT_FALSE(f.session().LoggedIn());
  EXPECT_FALSE(f.Image("button_inaktiv")->isHidden());
  EXPECT_TRUE(f.Image("Image3")->isHidden());
  EXPECT_EQ(Cell(f.ClanList(), 1, 0), "");
  EXPECT_EQ(Codes(), "M");
}

TEST_F(Presence, GridFollowsEachAnswerAndGrowsForLongRosters) {
  http.Serve("/q.php", kTwoRecords);
  WindowDriver& f = Open(false, "Update-Intervall=9\r\n");
  f.Click("Anmelden");
  EXPECT_EQ(f.session().UpdatePeriodMs(), w.services->waits.Scaled(600000));
  EXPECT_EQ(Cell(f.ClanList(), 1, 0), "Kim");
  EXPECT_EQ(Cell(f.ClanList(), 1, 1), "1.2.3.4:7777");
  EXPECT_EQ(Cell(f.ClanList(), 1, 2), "2024-05-01, 20:15");
  EXPECT_EQ(Cell(f.ClanList(), 2, 0), "Lee");
  EXPECT_EQ(f.ClanRowsInUse(), 3);
  EXPECT_EQ(f.session().rosterSummary(), "Quavik meldet: Kim (1.2.3.4:7777) Lee (Sucht Server...) ");

  // Fewer records than before: the old rows below are emptied.
  http.Serve("/q.php", "Ann\r\n5.6.7.8\r\nd\r\nt\r\n");
  f.Click("Aktualisieren");
  EXPECT_EQ(Cell(f.ClanList(), 1, 0), "Ann");
  for (int column = 0; column < 3; ++column) EXPECT_EQ(Cell(f.ClanList(), 2, column), "");
  EXPECT_EQ(f.ClanRowsInUse(), 2);

  // 300 records: every one gets its row below the heading, with a scroll bar.
  http.Serve("/q.php", Records(300));
  f.Click("Aktualisieren");
  ASSERT_GE(f.ClanList()->rowCount(), 301);
  EXPECT_EQ(Cell(f.ClanList(), 0, 0), "Spielername:");
  EXPECT_EQ(Cell(f.ClanList(), 256, 0), "P256");
  EXPECT_EQ(Cell(f.ClanList(), 300, 0), "P300");
  EXPECT_EQ(Cell(f.ClanList(), 300, 2), "d300, t300");
  EXPECT_EQ(f.ClanRowsInUse(), 301);
  EXPECT_TRUE(f.session().rosterSummary().endsWith("P299 (s299) P300 (s300) "));
  EXPECT_EQ(f.ClanList()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  f.ClanList()->scrollToBottom();
  EXPECT_GT(f.ClanList()->verticalScrollBar()->maximum(), 0);

  // A short roster again: the design size, no scroll bar.
  http.Serve("/q.php", kTwoRecords);
  f.Click("Aktualisieren");
  EXPECT_EQ(f.ClanList()->rowCount(), 40);
  EXPECT_EQ(f.ClanList()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(Cell(f.ClanList(), 3, 0), "");
  EXPECT_EQ(f.ClanRowsInUse(), 3);
  EXPECT_TRUE(w.dialogs.boxes.empty());
}

TEST_F(Presence, ImportWaitsForTheAnswerAndAReloadNeverDisturbsTheRunningReport) {
  // The login's answer comes in two parts well after the fixed wait; the
  // reload clicked during that wait gets a different answer.
  std::atomic<int> served{0};
  std::string fileWhenReloadArrived;
  http.Handle("GET", "/q.php", [&](const httplib::Request&, httplib::Response& res) {
    if (served++ == 0) {
      AnswerInTwoParts(res);
    } else {
      fileWhenReloadArrived = w.dir.Read("program/zephanor.tmp");
      res.set_content("Ann\r\n9.9.9.9\r\nd\r\nt\r\n", "text/plain");
    }
  });
  WindowDriver& f = Open(false);
  bool reloaded = false;
  WhenWaitingForTheAnswer(f, [&] {
    f.Click("Aktualisieren");
    reloaded = true;
  });
  f.Click("Anmelden");

  ASSERT_TRUE(reloaded);
  EXPECT_EQ(http.RequestCount(), 2u);
  // The reload's request left only after the login's answer was complete.
  EXPECT_EQ(fileWhenReloadArrived, kFirstPart + kSecondPart);
  EXPECT_EQ(w.dir.Read("program/zephanor.tmp"), "Ann\r\n9.9.9.9\r\nd\r\nt\r\n");
  EXPECT_EQ(Cell(f.ClanList(), 1, 0), "Ann");
  EXPECT_EQ(Cell(f.ClanList(), 2, 0), "");
  EXPECT_EQ(f.session().rosterSummary(), "Quavik meldet: Ann (9.9.9.9) ");
  EXPECT_TRUE(f.Image("updateicon")->isHidden());
  EXPECT_TRUE(f.session().LoggedIn());
  EXPECT_TRUE(w.dialogs.boxes.empty());
}

TEST_F(Presence, ImportReadsASlowAnswerOnlyWhenComplete) {
  http.Handle("GET", "/q.php", [](const httplib::Request&, httplib::Response& res) {
    AnswerInTwoParts(res);
  });
  http.Serve("/to/quaviknews.txt", "Neu\r\n");
  WindowDriver& f = Open(false);
  f.session().newsUrl = QString::fromStdString(http.Url("/to/quaviknews.txt"));
  // The window goes on working meanwhile: the list switch and a news fetch
  // run inside the wait, and the news don't disturb the report.
  bool switched = false;
  WhenWaitingForTheAnswer(f, [&] {
    f.Click("Globales Verzeichnis");
    f.Click("Aktuelle News online abrufen");
    switched = true;
  });
  f.Click("Anmelden");

  EXPECT_TRUE(switched);
  EXPECT_TRUE(f.ClanList()->isHidden());
  EXPECT_FALSE(f.GlobalList()->isHidden());
  EXPECT_EQ(f.NewsText()->toPlainText(), "Neu");
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_TRUE(f.session().LoggedIn());
  EXPECT_EQ(Cell(f.ClanList(), 1, 0), "Kim");
  EXPECT_EQ(Cell(f.ClanList(), 2, 0), "Lee");
  EXPECT_EQ(f.ClanRowsInUse(), 3);
}

TEST_F(Presence, ClosingWhileLoggedInReportsOfflineAndLeavesNoAnswerBehind) {
  http.Handle("GET", "/q.php", [](const httplib::Request&, httplib::Response& res) { AnswerInTwoParts(res); });
  http.Serve("/m.php", "OK\r\n");
  WindowDriver& f = Open();
  f.session().StartStop();
  w.dialogs.answers.push_back(platform::Answer::Yes);
  f.window().close();

  EXPECT_EQ(Codes(), "CMcm");
  EXPECT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.terminations, 1);
  // The offline report's answer had fully arrived before the clean-up.
  EXPECT_FALSE(w.dir.Exists("program/zephanor.tmp"));
  EXPECT_FALSE(w.dir.Exists("program/TacticalOps.sik"));
}

struct RefusedLoginCase {
  const char* name;
  int gameIndex;
  bool executable;
  bool scriptUrl;
  std::vector<QString> events;
};
void PrintTo(const RefusedLoginCase& c, std::ostream* os) { *os << c.name; }

class RefusedLogin : public Presence, public ::testing::WithParamInterface<RefusedLoginCase> {};

TEST_P(RefusedLogin, ShowsWhyAndTheSetupPanelAndSendsNothing) {
  const RefusedLoginCase& c = GetParam();
  http.Serve("/q.php", kTwoRecords);
  w.dir.Write("game/System/TOUser.ini", "[DefaultPlayer]\r\nName=Kim\r\n");
  w.dir.Write("game/System/TacticalOps.log", WindowFixture::kOnServerLog);
  if (c.executable) w.dir.Write("game/System/TacticalOps.exe", "MZ");
  w.WriteLoginSettings(c.scriptUrl ? http.Url("/q.php") : "", "",
                       "Programmversion=" + std::to_string(c.gameIndex) + "\r\n");
  WindowDriver& f = w.Open();
  f.SetupPanel()->hide();
  w.dialogs.events.clear();
  f.Click("Anmelden");

  EXPECT_EQ(w.dialogs.events, c.events);
  EXPECT_FALSE(f.SetupPanel()->isHidden());
  EXPECT_FALSE(f.session().LoggedIn());
  EXPECT_FALSE(f.Image("button_inaktiv")->isHidden());
  EXPECT_EQ(http.RequestCount(), 0u);
  EXPECT_FALSE(w.dir.Exists("program/zephanor.tmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Window, RefusedLogin,
    ::testing::Values(
        RefusedLoginCase{"MissingExecutable", 1, false, true,
                         {"beep 48", QStringLiteral("box Auf Basis des angegebenen Verzeichnisses konnten die Tactical "
                                                    "Ops RETAIL-Programmdateien nicht gefunden werden! Wirklich das "
                                                    "korrekte Verzeichnis ausgewählt?")}},
        RefusedLoginCase{"EmptyScriptUrl", 1, true, false,
                         {QStringLiteral("box Problem: ohne die Angabe eines Server-URL funktioniert der Quavik "
                                         "nicht. Bitte vervollständigen Sie die fehlende Angabe im Setup!")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// Faults of a cycle whose waits and reports crossed each other.
namespace cycle_faults {

using namespace std::chrono_literals;

TEST_F(Presence, TickInsideTheUnreachableBoxNeitherHangsNorKeepsThePlayerOnline) {
  w.InstallGame();
  w.WriteLoginSettings("http://127.0.0.1:" + std::to_string(WindowFixture::ClosedLoopbackPort()) + "/q.php", "");
  WindowDriver& f = w.Open();
  f.session().reportTransfer().ConnectTimeoutMs = 500;
  bool ticked = false;
  w.dialogs.whileOpen = [&](const testing_support::RecordedBox&) {
    if (ticked) return;
    ticked = true;
    f.session().Tick();  // the timer fires while the box is open
  };
  f.Click("Anmelden");
  ASSERT_TRUE(ticked);
  EXPECT_FALSE(f.session().LoggedIn());
  // The tick's request fails too, once the first box is gone.
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.dialogs.boxes.size() == 2; }, 5000));
  EXPECT_EQ(Count(w.dialogs.boxes, kUrlNotFoundMessage), 2u);
  EXPECT_FALSE(f.session().reportTransfer().Busy());
  EXPECT_TRUE(f.Image("button_aktiv")->isHidden());
}

TEST_F(Presence, LogoutDuringTheLoginScanGoesOutAfterTheLoginReport) {
  http.Serve("/q.php", kTwoRecords);
  w.InstallGame();
  // The game log is a FIFO: the scan waits until someone writes to it, and
  // then reads the working copy of an earlier scan.
  const QString fifo = w.dir.File("game/System/tacticalops.log");
  QFile::remove(fifo);
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  w.dir.Write("program/TacticalOps.sik", WindowFixture::kOnServerLog);
  w.WriteLoginSettings(http.Url("/q.php"));
  WindowDriver& f = w.Open();

  std::atomic<bool> release{false}, stop{false};
  std::thread writer([&] {
    while (!release) std::this_thread::sleep_for(1ms);
    while (!stop) {
      const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
      if (fd >= 0) ::close(fd);
      std::this_thread::sleep_for(1ms);
    }
  });
  QTimer::singleShot(100, &f.window(), [&] {
    release = true;
    f.Click("Abmelden");  // while the login's scan still runs
  });
  f.Click("Anmelden");
  const bool settled = QTest::qWaitFor([&] { return http.RequestCount() == 2 && !f.session().reportTransfer().Busy(); }, 5000);
  stop = true;
  const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
  writer.join();
  if (reader >= 0) ::close(reader);
  ASSERT_TRUE(settled);  // only now: the writer has to be stopped either way

  EXPECT_EQ(Codes(), "Cc");
  EXPECT_FALSE(f.session().LoggedIn());
  EXPECT_FALSE(f.Image("button_inaktiv")->isHidden());
}

TEST_F(Presence, ClosingEndsSoonWhileBothScriptsHangAndShowsNoLoginError) {
  // The program stops waiting for the hanging answers, so the handlers are
  // still running when the test ends: they share the flags, never borrow them.
  const auto hang = std::make_shared<std::atomic<bool>>(false);
  const auto release = std::make_shared<std::atomic<bool>>(false);
  for (const std::string path : {"/q.php", "/m.php"}) {
    http.Handle("GET", path, [hang, release, path](const httplib::Request&, httplib::Response& res) {
      const auto since = std::chrono::steady_clock::now();
      while (*hang && !*release && std::chrono::steady_clock::now() - since < 5s) std::this_thread::sleep_for(5ms);
      res.set_content(path == "/q.php" ? kTwoRecords : "OK\r\n", "text/plain");
    });
  }
  WindowDriver& f = Open(true);
  f.session().reportTransfer().StallTimeoutMs = 60000;
  // Each answer may take a second, the close's answers a second in all.
  f.session().cycle().answerGraceMs = 1000;
  f.session().cycle().closeAnswerGraceMs = 1000;
  f.Click("Anmelden");
  ASSERT_TRUE(f.session().LoggedIn());
  *hang = true;
  w.dialogs.answers.push_back(platform::Answer::Yes);
  const auto start = std::chrono::steady_clock::now();
  f.window().close();
  const auto took = std::chrono::steady_clock::now() - start;
  // The scripts answer after all, once the temporary files are gone.
  testing_support::FileReplaceCounter answerWrites(w.dir.File("program/zephanor.tmp"));
  *release = true;
  QTest::qWait(300);

  EXPECT_EQ(answerWrites.Count(), 0);
  EXPECT_FALSE(w.dir.Exists("program/zephanor.tmp"));
  EXPECT_LT(took, 1700ms);  // the shared second, the scaled fixed waits, the scans
  EXPECT_EQ(w.terminations, 1);
  ASSERT_EQ(w.dialogs.boxes.size(), 1u);  // the closing question only
  EXPECT_EQ(w.dialogs.boxes[0].buttons, Buttons::YesNo);
  // The master's offline report waits behind the clan's, which hangs.
  EXPECT_EQ(Codes().substr(0, 3), "CMc");
  EXPECT_FALSE(w.dir.Exists("program/TacticalOps.sik"));
}

}  // namespace cycle_faults
