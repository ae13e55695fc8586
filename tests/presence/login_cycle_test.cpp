// The login cycle against a scripted world: a sequence of clicks and ticks,
// with clicks, ticks and box answers arriving inside the scan, the import's
// wait and the boxes, gives the reports in the order they leave, the boxes
// shown and the state at the end.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "presence/login_cycle.h"
#include "support/activity_lines.h"
#include "support/recording_dialogs.h"

namespace presence {
namespace {

using testing_support::ActivityLines;
using testing_support::RecordingDialogs;

const QString kClanUrl = QStringLiteral("http://clan/q.php");
const QString kMasterUrl = QStringLiteral("http://master/m.php");

// Letters for what happens: L the login image, T a tick, R the reload
// button, X a close answered "Ja", u: from now on every request can't be
// opened, '.' nothing.
struct World : CycleSetup, CycleView, GameFiles, ReportChannel {
  CycleSettings settings{kClanUrl, "pw", kMasterUrl, "gpw", 0, "Tactical Ops MOD"};
  bool executable = true;
  bool clanListShown = true;
  bool answerComplete = true;
  bool unreachable = false;
  std::map<char, QByteArray> answers{{'C', "Kim\r\nA\r\nd\r\nt\r\n"}, {'M', "OK\r\n"}};
  // The i-th letter runs inside the i-th scan / import wait / box.
  std::string duringScan, duringWait, duringBox;
  std::function<void(char)> act;

  bool hangsForReal = false;  // an incomplete answer's wait takes its whole timeout
  std::vector<int> waitTimeouts;

  std::string sent;       // C clan, M master; lower case offline
  int waitsWhileBlocked = 0;
  int logins = 0;
  bool setupShown = false;
  std::optional<ClanRoster> shown;

  int scans = 0, waits = 0;
  int inHandler = 0;
  std::vector<char> unanswered;  // requests whose URL-not-found is still to come
  std::function<void()> urlNotFound;

  static char Next(const std::string& script, int& index) {
    const int i = index++;
    return i < int(script.size()) ? script[size_t(i)] : '.';
  }

  void SaveSettings() override {}
  CycleSettings Settings() const override { return settings; }
  bool GameExecutableExists() const override { return executable; }
  void ShowSetup(bool visible) override { setupShown = visible; }
  std::optional<PlayerLocation> ScanGameLog(bool offline) override {
    act(Next(duringScan, scans));
    return offline ? PlayerLocation{"Kim", kOfflinePlaceholder, kOfflinePlaceholder}
                   : PlayerLocation{"Kim", "1.2.3.4", "TO-Rapid"};
  }

  void ShowLoggedIn(bool loggedIn) override { logins += loggedIn; }
  bool ClanListShown() const override { return clanListShown; }
  void ShowClanRoster(const ClanRoster& roster) override { shown = roster; }
  void ClearRefusedName() override { shown->entries.front().name.clear(); }
  void UpdateVisDelay(int, const std::function<bool()>&) override {
    DeliverUrlNotFound();
    act(Next(duringWait, waits));
  }
  void WriteKeyBindings() override {}
  void WriteExecScripts() override {}

  void Send(const QByteArray& url) override {
    const char target = url.startsWith(kMasterUrl.toLatin1()) ? 'M' : 'C';
    sent += url.contains("offline") ? char(std::tolower(target)) : target;
    lastTarget = target;
    if (unreachable) unanswered.push_back(target);
  }
  bool WaitUntilIdle(int timeoutMs) override {
    waitTimeouts.push_back(timeoutMs);
    // Requests queue behind the one whose handler is open: none can end.
    if (inHandler > 0) {
      ++waitsWhileBlocked;
      return false;
    }
    const bool idle = answerComplete && unanswered.empty();
    if (!idle && hangsForReal) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return idle;
  }
  bool Idle() const override { return inHandler == 0 && answerComplete && unanswered.empty(); }
  std::optional<QByteArray> ReadAnswer() override { return answers[lastTarget]; }

  // The transfer raises URL-not-found for its requests one after the
  // other, each only once the handler of the one before has returned.
  void DeliverUrlNotFound() {
    while (inHandler == 0 && !unanswered.empty()) {
      unanswered.erase(unanswered.begin());
      ++inHandler;
      urlNotFound();
      --inHandler;
    }
  }
  char lastTarget = 'C';
};

struct CycleCase {
  const char* name;
  std::string actions;
  std::string duringScan, duringWait, duringBox;
  bool master;
  std::string sent;
  std::string boxes;  // U unreachable, P clan password, G master password
  bool loggedInAfter;
};
void PrintTo(const CycleCase& c, std::ostream* os) { *os << c.name; }

class Cycle : public ::testing::TestWithParam<CycleCase> {};

TEST_P(Cycle, SendsReportsInTheOrderTheUserCausedThem) {
  const CycleCase& c = GetParam();
  World world;
  RecordingDialogs dialogs;
  ActivityLines log;
  platform::WindowTimer timer;
  LoginCycle cycle({world, world, world, world, dialogs, timer, log.Log(), platform::Waits{}});
  if (!c.master) world.settings.globalScriptUrl.clear();
  world.duringScan = c.duringScan;
  world.duringWait = c.duringWait;
  world.duringBox = c.duringBox;
  world.urlNotFound = [&] { cycle.UrlNotFound(); };
  world.act = [&](char action) {
    switch (action) {
      case 'L': cycle.StartStop(); break;
      case 'T': cycle.Tick(); break;
      case 'R': cycle.Reload(); break;
      case 'X': cycle.LogoutForClose(); break;
      case 'u': world.unreachable = true; break;
    }
  };
  int boxIndex = 0;
  dialogs.whileOpen = [&](const testing_support::RecordedBox&) { world.act(World::Next(world.duringBox, boxIndex)); };

  for (const char action : c.actions) {
    world.act(action);
    world.DeliverUrlNotFound();  // what the event loop delivers afterwards
  }

  EXPECT_EQ(world.sent, c.sent);
  std::string boxes;
  for (const auto& box : dialogs.boxes) {
    boxes += box.text.startsWith("Achtung") ? 'U'
             : box.text == kClanPasswordRefusedMessage ? 'P'
             : box.text == kMasterPasswordRefusedMessage ? 'G' : '?';
  }
  EXPECT_EQ(boxes, c.boxes);
  EXPECT_EQ(cycle.LoggedIn(), c.loggedInAfter);
  EXPECT_EQ(world.waitsWhileBlocked, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fakes, Cycle,
    ::testing::Values(
        CycleCase{"MasterOnLoginThenEverySecondTick", "LTTTTL", "", "", "", true, "CMCCMCCMcm", "", false},
        CycleCase{"LogoutDuringTheLoginScanGoesOutLast", "L", "L", "", "", false, "Cc", "", false},
        // The login's master report would overtake the offline ones.
        CycleCase{"LogoutDuringTheLoginScanStopsItsMasterReport", "L", "L", "", "", true, "Ccm", "", false},
        CycleCase{"LogoutInsideTheImportWaitStopsTheMasterReport", "L", "", "L", "", true, "Ccm", "", false},
        CycleCase{"LoginDuringTheLogoutScanGoesOutLast", "LL", ".L", "", "", false, "CcC", "", true},
        CycleCase{"TickDuringTheLogoutScanIsDropped", "LL", ".T", "", "", false, "Cc", "", false},
        CycleCase{"ReloadDuringATickScanFollowsIt", "LT", ".R", "", "", false, "CCC", "", true},
        // The tick inside the box can't wait for its answer; after the box
        // the login has ended and the tick's own failure shows once more.
        CycleCase{"TickInsideTheUnreachableBoxEndsCleanly", "uL", "", "", "T", false, "CC", "UU", false},
        CycleCase{"EveryLoginAgainstAnUnreachableScriptEnds", "uLL", "", "", "", false, "CC", "UU", false},
        CycleCase{"CloseWithAnUnreachableScriptShowsNoBox", "LuX", "", "", "", true, "CMcm", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CycleAnswers, AnAnswerNotCompleteInTimeCountsAsNone) {
  World world;
  world.settings.globalScriptUrl.clear();
  world.answers['C'] = "AUTH_FAILED!\r\n";
  world.answerComplete = false;
  RecordingDialogs dialogs;
  platform::WindowTimer timer;
  const platform::ActivityLog off;
  LoginCycle cycle({world, world, world, world, dialogs, timer, off, platform::Waits{}});
  world.act = [](char) {};
  cycle.StartStop();
  EXPECT_FALSE(world.shown.has_value());
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_TRUE(cycle.LoggedIn());

  // Once complete, the refusal is read, the name emptied, the login ended;
  // the emptied roster does not refuse again.
  world.answerComplete = true;
  cycle.Reload();
  ASSERT_TRUE(world.shown.has_value());
  EXPECT_EQ(world.shown->entries.front().name, "");
  EXPECT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_FALSE(cycle.LoggedIn());
  world.answers['C'] = QByteArray();
  world.answerComplete = false;
  cycle.StartStop();
  EXPECT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_TRUE(cycle.LoggedIn());
}

TEST(CycleLog, LoginStoppedByACheckLeavesStartWithoutEnd) {
  for (const bool executable : {false, true}) {
    World world;
    world.executable = executable;
    world.settings.scriptUrl.clear();
    world.act = [](char) {};
    RecordingDialogs dialogs;
    ActivityLines log;
    platform::WindowTimer timer;
    LoginCycle cycle({world, world, world, world, dialogs, timer, log.Log(), platform::Waits{}});
    cycle.StartStop();
    EXPECT_EQ(log.Entries(), QStringList{"START Start/Stop"}) << executable;
    EXPECT_TRUE(world.setupShown);
    EXPECT_TRUE(world.sent.empty());
    EXPECT_FALSE(cycle.LoggedIn());
  }
}

// A logout's answers each have their grace; a close's share one, so the
// close ends soon even when every answer hangs.
TEST(CycleAnswerWait, AClosesReportsShareOneGrace) {
  for (const bool closing : {false, true}) {
    World world;
    world.act = [](char) {};
    RecordingDialogs dialogs;
    platform::WindowTimer timer;
    const platform::ActivityLog off;
    LoginCycle cycle({world, world, world, world, dialogs, timer, off, platform::Waits{}});
    cycle.answerGraceMs = 60;
    cycle.closeAnswerGraceMs = 80;
    cycle.StartStop();
    world.answerComplete = false;
    world.hangsForReal = true;
    world.waitTimeouts.clear();
    if (closing)
      cycle.LogoutForClose();
    else
      cycle.StartStop();
    EXPECT_EQ(world.sent, "CMcm") << closing;
    ASSERT_EQ(world.waitTimeouts.size(), 2u) << closing;
    EXPECT_EQ(world.waitTimeouts[0], 60) << closing;
    if (closing)
      EXPECT_LE(world.waitTimeouts[1], 20);
    else
      EXPECT_EQ(world.waitTimeouts[1], 60);
  }
}

}  // namespace
}  // namespace presence
