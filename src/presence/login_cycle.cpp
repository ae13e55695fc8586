#include "presence/login_cycle.h"

#include <QElapsedTimer>
#include <algorithm>

#include "presence/report_gate.h"
#include "presence/report_url.h"
#include "presence/roster_status.h"

namespace presence {

using platform::ActivityScope;
using platform::Beep;
using platform::BoxKind;
using platform::Buttons;

namespace {

const QString kUrlNotFoundMessage = QStringLiteral(
    "Achtung: der von Ihnen angegebene Server-URL konnte nicht gefunden werden, ein Login ist nicht "
    "möglich. Bitte prüfen Sie den im Setup hinterlegten Serverpfad oder kontaktieren Sie Ihren "
    "Webmaster...");
const QString kNoScriptUrlMessage = QStringLiteral(
    "Problem: ohne die Angabe eines Server-URL funktioniert der Quavik nicht. Bitte vervollständigen "
    "Sie die fehlende Angabe im Setup!");

QString GameFilesMissingMessage(const QString& game) {
  return QStringLiteral("Auf Basis des angegebenen Verzeichnisses konnten die ") + game +
         QStringLiteral("-Programmdateien nicht gefunden werden! Wirklich das korrekte Verzeichnis ausgewählt?");
}

constexpr int kImportWaitMs = 4000;

// Counts a running scan for as long as it lives.
class Counted {
 public:
  explicit Counted(int& count) : count_(count) { ++count_; }
  ~Counted() { --count_; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

 private:
  int& count_;
};

}  // namespace

LoginCycle::LoginCycle(Parts parts) : parts_(parts) {}

bool LoginCycle::Deferred(Action action) {
  if (preparing_ == 0) return false;
  pending_.push_back(action);
  return true;
}

void LoginCycle::RunPending() {
  while (preparing_ == 0 && !pending_.empty() && !ended_) {
    const Action action = pending_.front();
    pending_.pop_front();
    switch (action) {
      case Action::StartStop: StartStop(); break;
      case Action::Tick: Tick(); break;
      case Action::Reload: Reload(); break;
    }
  }
}

void LoginCycle::StartStop() {
  if (ended_ || Deferred(Action::StartStop)) return;
  const QString message = QStringLiteral("Start/Stop");
  parts_.log.Start(message);
  if (LoggedIn()) {
    LogOutByUser();
  } else if (!LogIn()) {
    return;  // stopped at a check: the operation did not finish, no END line
  }
  parts_.log.End(message);
}

void LoginCycle::LogOutByUser() {
  parts_.timer.SetEnabled(false);
  parts_.view.ShowLoggedIn(false);
  Logout();
}

bool LoginCycle::LogIn() {
  const std::uint64_t logoutsAtStart = logouts_;
  parts_.setup.SaveSettings();
  if (!parts_.setup.GameExecutableExists()) {
    parts_.dialogs.MessageBeep(Beep::Exclamation);
    Error(GameFilesMissingMessage(parts_.setup.Settings().gameName));
    parts_.setup.ShowSetup(true);
    return false;
  }
  const CycleSettings settings = parts_.setup.Settings();
  if (settings.scriptUrl.isEmpty()) {
    Error(kNoScriptUrlMessage);
    parts_.setup.ShowSetup(true);
    return false;
  }
  parts_.setup.ShowSetup(false);
  parts_.timer.SetInterval(IntervalMs(settings.intervalIndex));
  parts_.timer.SetEnabled(true);
  globalAuthFailed_ = false;
  parts_.view.ShowLoggedIn(true);
  SendPlayerLocation(false, false, logoutsAtStart);
  if (!parts_.setup.Settings().globalScriptUrl.isEmpty()) SendPlayerLocation(false, true, logoutsAtStart);
  parts_.gameFiles.WriteKeyBindings();
  parts_.gameFiles.WriteExecScripts();
  return true;
}

int LoginCycle::IntervalMs(int intervalIndex) const { return parts_.waits.Scaled((intervalIndex + 1) * 60000); }

void LoginCycle::IntervalChosen(int intervalIndex) {
  if (LoggedIn()) parts_.timer.SetInterval(IntervalMs(intervalIndex));
}

void LoginCycle::Tick() {
  if (ended_ || Deferred(Action::Tick)) return;
  if (!LoggedIn()) return;  // a tick that waited for a logout's report
  const std::uint64_t logoutsAtStart = logouts_;
  ActivityScope scope(parts_.log, QStringLiteral("PostTimer"));
  SendPlayerLocation(false, false, logoutsAtStart);
  parts_.gameFiles.WriteExecScripts();
  if (!globalAuthFailed_ && !parts_.setup.Settings().globalScriptUrl.isEmpty()) {
    ++globalPostCounter_;
    if (globalPostCounter_ == 2) {
      globalPostCounter_ = 0;
      SendPlayerLocation(false, true, logoutsAtStart);
    }
  }
}

void LoginCycle::Reload() {
  if (ended_ || Deferred(Action::Reload)) return;
  if (!LoggedIn()) return;  // the button is gone once logged out
  SendPlayerLocation(false, !parts_.view.ClanListShown(), logouts_);
}

void LoginCycle::Logout() {
  ++logouts_;
  ActivityScope scope(parts_.log, QStringLiteral("Logout User"));
  SendPlayerLocation(true, false, logouts_);
  if (!globalAuthFailed_ && !parts_.setup.Settings().globalScriptUrl.isEmpty())
    SendPlayerLocation(true, true, logouts_);
}

void LoginCycle::LogoutForClose() {
  closing_ = true;
  closeGraceLeftMs_ = closeAnswerGraceMs;
  pending_.clear();
  Logout();
}

void LoginCycle::EndRun() {
  ended_ = true;
  pending_.clear();
}

void LoginCycle::SendPlayerLocation(bool offline, bool global, std::uint64_t logoutsAtStart) {
  // An online report whose operation began before a logout would overtake
  // that logout's offline report.
  const auto superseded = [&] { return ended_ || (!offline && logouts_ != logoutsAtStart); };
  if (superseded()) return;
  ActivityScope scope(parts_.log, QStringLiteral("Sende Spielerstandort"));
  std::optional<PlayerLocation> location;
  {
    const Counted preparing(preparing_);
    parts_.setup.SaveSettings();
    location = parts_.setup.ScanGameLog(offline);
  }
  if (superseded()) {
    RunPending();
    return;
  }
  if (!location) {
    parts_.dialogs.MessageBeep(Beep::Default);
    RunPending();
    return;
  }
  // The entry the script lists is the one the online reports made; the
  // game's name may have changed since.
  QString& onlineName = onlineName_[global ? 1 : 0];
  if (offline && !onlineName.isEmpty()) location->name = onlineName;
  const CycleSettings settings = parts_.setup.Settings();
  const QByteArray url = BuildReportUrl(global ? settings.globalScriptUrl : settings.scriptUrl, *location,
                                        global ? settings.globalPass : settings.pass, global);
  parts_.log.Start(QStringLiteral("Poste an Quavikserver (END)"));
  const ReportGate gate = DecideReportSending(location->name);
  if (gate.warnMissingName) {
    parts_.dialogs.MessageBeep(Beep::Exclamation);
    parts_.dialogs.ShowMessage(kMissingNameMessage, Buttons::Ok, BoxKind::Information);
  }
  std::uint64_t request = 0;
  if (gate.send) {
    parts_.channel.Send(url);
    request = ++requests_;
    onlineName = offline ? QString() : location->name;
  }
  // What was clicked meanwhile goes out behind this report.
  RunPending();
  if (ended_) return;
  if (!global) {
    ImportClanRoster(request);
  } else if (!globalAuthFailed_) {
    ImportGlobalRoster(request);
  }
}

bool LoginCycle::AnswerCanCome(std::uint64_t request) const {
  // Nothing sent: the answer file holds an earlier report's answer.
  if (request == 0) return false;
  // The channel's requests queue behind the one whose handler sits lower on
  // this stack: they can't end before this wait returns.
  if (inUrlNotFound_ > 0) return false;
  // A request sent meanwhile (inside this wait) writes the same file.
  return request == requests_;
}

void LoginCycle::WaitWhileAnswerCanCome(std::uint64_t request) {
  parts_.view.UpdateVisDelay(kImportWaitMs, [this, request] {
    return !AnswerCanCome(request) || parts_.channel.Idle();
  });
}

std::optional<QByteArray> LoginCycle::WaitForAnswer(std::uint64_t request) {
  if (request == 0 || inUrlNotFound_ > 0) return std::nullopt;
  // A request sent meanwhile (inside the fixed wait) writes the same file.
  const auto own = [&] { return request == requests_ ? parts_.channel.ReadAnswer() : std::optional<QByteArray>{}; };
  if (!closing_) {
    if (!parts_.channel.WaitUntilIdle(answerGraceMs)) return std::nullopt;
    return own();
  }
  // The close's reports share one grace: what one of them used is gone for
  // the next.
  QElapsedTimer waited;
  waited.start();
  const bool idle = parts_.channel.WaitUntilIdle(std::min(answerGraceMs, closeGraceLeftMs_));
  closeGraceLeftMs_ = std::max<int>(0, closeGraceLeftMs_ - static_cast<int>(waited.elapsed()));
  if (!idle) return std::nullopt;
  return own();
}

void LoginCycle::ImportClanRoster(std::uint64_t request) {
  ActivityScope scope(parts_.log, QStringLiteral("Importiere in Clangrid"));
  parts_.log.Start(QStringLiteral("Importiere in Clangrid: Delay ON"));
  WaitWhileAnswerCanCome(request);
  const std::optional<QByteArray> answer = WaitForAnswer(request);
  parts_.log.Start(QStringLiteral("Importiere in Clangrid: Delay OFF"));
  parts_.log.Start(QStringLiteral("Importiere in Clangrid: öffne TMP"));
  std::optional<ClanRoster> roster;
  if (answer) {
    parts_.log.Start(QStringLiteral("Importiere in Clangrid: clr"));
    roster = ParseClanAnswer(std::string_view(answer->constData(), answer->size()), parts_.log);
    parts_.view.ShowClanRoster(*roster);
  }
  parts_.log.Start(QStringLiteral("Importiere in Clangrid: auth_fail?"));
  // Only the answer just read can refuse: an earlier one's refusal has been
  // dealt with when it was read.
  if (roster && IsRefusedRoster(roster->entries)) {
    parts_.dialogs.MessageBeep(Beep::Default);
    parts_.view.ClearRefusedName();
    Error(kClanPasswordRefusedMessage);
    RejectConnection();
  }
}

void LoginCycle::ImportGlobalRoster(std::uint64_t request) {
  ActivityScope scope(parts_.log, QStringLiteral("Importiere in Globalgrid"));
  WaitWhileAnswerCanCome(request);
  const std::optional<QByteArray> answer = WaitForAnswer(request);
  if (answer && MasterAnswerRefused(std::string_view(answer->constData(), answer->size()))) {
    parts_.dialogs.MessageBeep(Beep::Default);
    globalAuthFailed_ = true;
    Error(kMasterPasswordRefusedMessage);
  }
}

void LoginCycle::UrlNotFound() {
  const Counted inHandler(inUrlNotFound_);
  // Closing: the user already chose to leave; a login error helps nobody.
  if (!closing_ && !ended_) Error(kUrlNotFoundMessage);
  RejectConnection();
}

void LoginCycle::RejectConnection() {
  ActivityScope scope(parts_.log, QStringLiteral("RejectConnection"));
  parts_.timer.SetEnabled(false);
  parts_.view.ShowLoggedIn(false);
}

void LoginCycle::Error(const QString& text) {
  parts_.dialogs.ShowMessage(text, Buttons::YesOnly, BoxKind::Error);
}

}  // namespace presence
