// LoginCycle decides when presence reports go out: logging in and out, the
// update timer's ticks with the master report on every second one, the
// reload button, a script that can't be reached and a refused password.
// It owns the login state (logged in exactly while the update timer runs),
// the master cadence and the master refusal flag. The clan refusal test
// reads the roster the import has just read, not what the window shows.
// An import reads only the answer of its own report: a report that was not
// sent, failed, or was followed by another one before its answer was read
// leaves the lists as they are.
//
// It promises:
//  - Reports leave in the order the user caused them. A click or tick that
//    arrives while a report is being prepared (its game log scan running)
//    takes effect after that report has been handed to the channel.
//  - An offline report is never overtaken: once a logout has begun, online
//    reports of operations that started before it are not sent any more.
//  - Every wait is bounded. The import's wait with the update indicator
//    lasts 4000 ms at most and ends as soon as its report's transfer has
//    ended, well or not, or can't bring this import an answer any more (it
//    was not sent, another report followed it, or one of the channel's own
//    handlers, the unreachable-script box, is lower on the stack, so the
//    channel can't finish before the wait returns). A transfer still running
//    then is waited for at most `answerGraceMs` more, and not at all in
//    those cases; an answer not complete by then counts as no answer.
//  - A close's offline reports wait for their answers together at most
//    `closeAnswerGraceMs`, so the close ends soon after the fixed waits even
//    when both scripts hang.
//  - While closing, an unreachable script shows no box.
//  - An offline report goes out under the name that was last reported
//    online to that script, so a name changed in the game meanwhile leaves
//    no entry behind; with none reported, under the name the scan found.
//
// Calls that run a nested event loop (so any handler may run inside them):
// StartStop, Tick, Reload, Logout, LogoutForClose and UrlNotFound, through
// the scan, the fixed wait, the answer wait and the message boxes.
#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "platform/os/activity_log.h"
#include "platform/os/dialogs.h"
#include "platform/os/waits.h"
#include "platform/os/window_timer.h"
#include "presence/player_location.h"
#include "presence/roster.h"

namespace presence {

// The setup panel's values a report reads at the moment of use.
struct CycleSettings {
  QString scriptUrl;
  QString pass;
  QString globalScriptUrl;
  QString globalPass;
  int intervalIndex = -1;  // item index of the interval choice
  QString gameName;        // displayed text of the game choice
};

// The settings as the cycle sees them, and the game files they name.
class CycleSetup {
 public:
  virtual ~CycleSetup() = default;
  // Saves the settings file and derives the game's files again; may show
  // the URL correction box and throws when the file can't be written.
  virtual void SaveSettings() = 0;
  virtual CycleSettings Settings() const = 0;
  virtual bool GameExecutableExists() const = 0;
  virtual void ShowSetup(bool visible) = 0;
  // Copies and scans the game log; nullopt when it holds no relevant line.
  // Runs a nested event loop while the scan works.
  virtual std::optional<PlayerLocation> ScanGameLog(bool offline) = 0;
};

// The window's part: the login buttons, the roster list and the update
// indicator's fixed wait.
class CycleView {
 public:
  virtual ~CycleView() = default;
  // The login and logout buttons and the reload button for this state.
  virtual void ShowLoggedIn(bool loggedIn) = 0;
  virtual bool ClanListShown() const = 0;
  // Replaces the shown clan roster and the summary the scripts carry.
  virtual void ShowClanRoster(const ClanRoster& roster) = 0;
  // Empties the refused first name, leaving the rest of the list.
  virtual void ClearRefusedName() = 0;
  // The wait with the update indicator: `milliseconds` at most, over as
  // soon as `over` holds (checked every few milliseconds); runs a nested
  // event loop.
  virtual void UpdateVisDelay(int milliseconds, const std::function<bool()>& over) = 0;
};

// The files a login and each report write into the game: the key bindings
// in its user INI and the exec scripts that carry the roster's summary.
class GameFiles {
 public:
  virtual ~GameFiles() = default;
  virtual void WriteKeyBindings() = 0;
  virtual void WriteExecScripts() = 0;
};

// Carries a report's request and brings back its answer.
class ReportChannel {
 public:
  virtual ~ReportChannel() = default;
  // Hands the request over and returns at once; the answer replaces the
  // answer file once it has arrived completely.
  virtual void Send(const QByteArray& url) = 0;
  // Processes events until no request is under way or `timeoutMs` has
  // passed; true when none is.
  virtual bool WaitUntilIdle(int timeoutMs) = 0;
  // True when no request is under way; returns at once.
  virtual bool Idle() const = 0;
  // The answer of the last request sent; nullopt when it brought none.
  virtual std::optional<QByteArray> ReadAnswer() = 0;
};

class LoginCycle {
 public:
  struct Parts {
    CycleSetup& setup;
    CycleView& view;
    GameFiles& gameFiles;
    ReportChannel& channel;
    platform::Dialogs& dialogs;
    platform::WindowTimer& timer;
    const platform::ActivityLog& log;
    platform::Waits waits;
  };
  explicit LoginCycle(Parts parts);

  // The login image: logs in when logged out, out when logged in.
  void StartStop();
  // One tick of the update timer.
  void Tick();
  // The reload button: one report to the target of the shown list.
  void Reload();
  // The offline reports (clan, then master unless refused or unset).
  void Logout();
  // The offline reports of a close answered "Ja"; from here on an
  // unreachable script shows no box.
  void LogoutForClose();
  // Nothing more is sent after this: the program is ending.
  void EndRun();
  // The channel's request could not be opened.
  void UrlNotFound();
  // Ends the login without an offline report.
  void RejectConnection();
  // A new interval choice (item index): while logged in, the update timer
  // runs at it from now on; otherwise the next login takes it.
  void IntervalChosen(int intervalIndex);

  bool LoggedIn() const { return parts_.timer.Enabled(); }
  bool GlobalAuthFailed() const { return globalAuthFailed_; }

  // How long an import waits for its answer beyond the fixed wait, in real
  // milliseconds.
  int answerGraceMs = 3000;
  // How long the answers of a close's offline reports are waited for in
  // all, in real milliseconds.
  int closeAnswerGraceMs = 1500;

 private:
  enum class Action { StartStop, Tick, Reload };
  bool Deferred(Action action);
  void RunPending();
  bool LogIn();  // false when a check stopped it
  // The update timer's period for an interval choice.
  int IntervalMs(int intervalIndex) const;
  void LogOutByUser();
  void SendPlayerLocation(bool offline, bool global, std::uint64_t logoutsAtStart);
  // `request`: the number of the report's request, 0 when none was sent.
  void ImportClanRoster(std::uint64_t request);
  void ImportGlobalRoster(std::uint64_t request);
  // The wait with the update indicator before an import.
  void WaitWhileAnswerCanCome(std::uint64_t request);
  // False when nothing more can come for `request` before the wait returns.
  bool AnswerCanCome(std::uint64_t request) const;
  std::optional<QByteArray> WaitForAnswer(std::uint64_t request);
  void Error(const QString& text);

  Parts parts_;
  std::deque<Action> pending_;
  std::uint64_t logouts_ = 0;  // logouts begun so far
  std::uint64_t requests_ = 0;  // requests sent so far
  // The name last reported online, per script (clan, master); empty once
  // its offline report has gone out.
  std::array<QString, 2> onlineName_;
  int preparing_ = 0;          // reports whose scan is running
  int inUrlNotFound_ = 0;      // the channel waits for this handler
  std::uint8_t globalPostCounter_ = 0;
  bool globalAuthFailed_ = false;
  bool closing_ = false;
  int closeGraceLeftMs_ = 0;  // of closeAnswerGraceMs, once closing
  bool ended_ = false;
};

}  // namespace presence
