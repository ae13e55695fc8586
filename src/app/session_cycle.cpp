// The login cycle's side of the session: its handlers, what it reads of the
// settings and the game, the roster it brings, the tray's state and the
// clan mate notices, the fixed wait and the roster list switch.
#include <QDir>

#include "app/session.h"
#include "app/session_parts.h"
#include "app/startup.h"
#include "platform/os/file_ops.h"
#include "platform/os/paths.h"
#include "platform/os/waits.h"
#include "presence/game_log_scanner.h"
#include "presence/roster_status.h"

namespace app {

// One step: the settings file written once, the game profile derived once.
void Session::CycleParts::SaveSettings() { s.SaveSettings(); }

bool Session::CycleParts::GameExecutableExists() const { return platform::FileExists(s.GameExecutable()); }

void Session::CycleParts::ShowLoggedIn(bool loggedIn) {
  s.view_.ShowLoggedIn(loggedIn);
  s.ShowLoginState(loggedIn);
}

presence::CycleSettings Session::CycleParts::Settings() const { return s.CycleValues(); }
void Session::CycleParts::ShowSetup(bool visible) { s.view_.ShowSetup(visible); }
std::optional<presence::PlayerLocation> Session::CycleParts::ScanGameLog(bool offline) {
  return s.ScanGameLog(offline);
}
bool Session::CycleParts::ClanListShown() const { return s.clanListShown_; }
void Session::CycleParts::ShowClanRoster(const presence::ClanRoster& roster) { s.ShowClanRoster(roster); }
void Session::CycleParts::ClearRefusedName() { s.view_.ClearRefusedName(); }
void Session::CycleParts::UpdateVisDelay(int milliseconds, const std::function<bool()>& over) {
  s.UpdateVisDelay(milliseconds, over);
}
void Session::CycleParts::WriteKeyBindings() { s.WriteKeyBindings(); }
void Session::CycleParts::WriteExecScripts() { s.WriteExecScripts(); }

void Session::StartStop() { cycle_->StartStop(); }
void Session::Tick() { cycle_->Tick(); }
void Session::Reload() { cycle_->Reload(); }

presence::CycleSettings Session::CycleValues() const {
  presence::CycleSettings s;
  s.scriptUrl = settings_.scriptUrl;
  s.pass = settings_.pass;
  s.globalScriptUrl = settings_.globalScriptUrl;
  s.globalPass = settings_.globalPass;
  s.intervalIndex = settings_.updateInterval;
  const int index = settings_.gameIndex;
  s.gameName = index >= 0 && index < game::GameCount() ? game::GameName(index) : QString();
  return s;
}

std::optional<presence::PlayerLocation> Session::ScanGameLog(bool offline) {
  return presence::ScanGameLogProcessingEvents(
      GameFile(gameProfile_.logFile), platform::JoinDir(services_.paths.TempDir(), kWorkingCopyFileName),
      GameFile(gameProfile_.userIni), offline,
      gameProfile_.unrealEngine2 ? presence::LogFormat::BrowseAndLevel : presence::LogFormat::LoadMap);
}

void Session::ShowClanRoster(const presence::ClanRoster& roster) {
  {
    platform::ActivityScope scope(activityLog_, QStringLiteral("Leere Clangrid"));
    view_.ClearClanRoster();
  }
  view_.ShowClanRoster(roster.entries);
  rosterSummary_ = roster.summary;
  ClanRosterShown(roster.entries);
}

void Session::UpdateVisDelay(int ms, const std::function<bool()>& over) {
  activityLog_.Start(QStringLiteral("Importiere in Clangrid: Delay - UpdateVisOn"));
  view_.ShowUpdateIndicator(true);
  delayTimer_.SetInterval(services_.waits.Scaled(ms));
  delayTimer_.SetEnabled(true);
  // Sleeps in the event loop until the timer has fired or what is waited
  // for is over: the window stays responsive and nothing spins.
  platform::WaitProcessingEvents([&] { return delayTimer_.Enabled() && !(over && over()); }, 5);
  delayTimer_.SetEnabled(false);
  activityLog_.Start(QStringLiteral("Importiere in Clangrid: Delay - UpdateVisOff"));
  view_.ShowUpdateIndicator(false);
}

void Session::SwitchList() {
  clanListShown_ = !clanListShown_;
  view_.ShowClanList(clanListShown_);
}

// ---- the tray and the clan mate notices ----

void Session::ShowLoginState(bool loggedIn) {
  clanMates_.LoginShown(loggedIn);
  view_.ShowTrayState(loggedIn, PlayerName(), presence::MembersOnline(clanMates_.Shown()));
}

// After each clan import: the notices it brings, and the tooltip's count.
void Session::ClanRosterShown(const std::vector<presence::RosterEntry>& roster) {
  const bool loggedIn = cycle_->LoggedIn();
  const QString player = PlayerName();
  const std::vector<QString> notices = clanMates_.RosterShown(roster, player, loggedIn);
  view_.ShowTrayState(loggedIn, player, presence::MembersOnline(roster));
  if (!settings_.notify) return;
  for (const QString& notice : notices) view_.Notify(notice);
}

}  // namespace app
