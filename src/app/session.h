// The running program behind the main window: the settings in use, the login
// cycle with its update timer, the report and news transfers, the game
// profile and server bookmarks, the clan mate notices, start-up and close. It
// is the one owner of the logged-in state (the cycle's) and of which roster
// list is shown; the window shows what the session tells its MainView and
// hands each user action to one method here.
//
// Calls that run a nested event loop (any handler may run inside them):
// Start, StartStop, Tick, Reload, SaveSettings and SaveSettingsConfirmed (the
// URL correction box), LaunchFromRoster, EchoKeyChanged, OpenClanSite,
// FetchNews, ApplicationClose and FormClose; see presence/login_cycle.h.
#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "app/main_view.h"
#include "app/program_site.h"
#include "app/services.h"
#include "app/settings.h"
#include "game/game_profile.h"
#include "game/keybinder.h"
#include "game/server_bookmarks.h"
#include "platform/os/activity_log.h"
#include "platform/os/window_timer.h"
#include "presence/clan_mate_notices.h"
#include "presence/login_cycle.h"
#include "transfer/file_transfer.h"

namespace app {

class NewsFetch;

class Session {
 public:
  Session(Services& services, MainView& view);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // ---- start-up and close ----
  // Every start-up step in its order (app/startup_sequence.h).
  void Start();
  // Save, the logout question, clean-up, then the end of the event loop.
  void ApplicationClose();
  // The window closed by the system: ApplicationClose, then a last save.
  void FormClose();
  // True once ApplicationClose has told the application to end.
  bool Terminating() const { return terminating_; }

  // ---- settings ----
  // The session holds the settings in use and is their only source: the
  // setup panel hands each edit over as it is made, and the window its
  // place. An edit is in use at once (the clan site, the game directory of
  // a launch, the tray and notice choices) and saved at the next save: the
  // save button, a report, a login, a close.
  void SettingsEdited(const Settings& values);  // the window position is kept
  void WindowMoved(const QPoint& position);
  // The settings in use are saved, after the save's two rules (the URL
  // correction box may show); throws when the file can't be written. One
  // write of the file, then the game profile derived once, the key bindings
  // written, and what depends on a value changed since the last save
  // follows at once: a new game directory or game brings its bookmarks and
  // player name, a new interval applies to the running update timer.
  void SaveSettings();
  // "Konfiguration speichern": SaveSettings, then its confirmation.
  void SaveSettingsConfirmed();
  const Settings& settings() const { return settings_; }
  // The settings file into the settings in use and the panel, and what
  // follows from them (the game's files, the bookmarks).
  void ReadSettings();

  // ---- presence ----
  void StartStop();
  void Tick();
  void Reload();
  // The clan list's switch.
  void SwitchList();
  bool ClanListShown() const { return clanListShown_; }
  bool LoggedIn() const { return cycle_->LoggedIn(); }

  // ---- game ----
  // A double click on a clan roster row with this "Online auf:" text.
  void LaunchFromRoster(const QString& onlineOn);
  // The start button: the game onto the chosen bookmark (-1: none).
  void StartGame(int bookmarkIndex);
  void BookmarkChosen(int bookmarkIndex);
  // The server text of the bookmark at `bookmarkIndex` ("" for none).
  QString BookmarkServer(int bookmarkIndex) const;
  void EchoKeyChanged();
  void OpenClanSite();
  void OpenHomePage();
  void Minimize();
  // "Username: " and the player's name from the game's user INI.
  void ShowPlayerName();

  // ---- news ----
  // Opens the news panel, fetches, waits the fixed five seconds, shows.
  void FetchNews();
  // Where the news come from; tests point it at a loopback server.
  QString newsUrl = kNewsUrl;

  // ---- what tests and the window look at ----
  // The update timer's period while logged in, in milliseconds.
  int UpdatePeriodMs() const { return timer_.Interval(); }
  const platform::WindowTimer& updateTimer() const { return timer_; }
  const platform::WindowTimer& delayTimer() const { return delayTimer_; }
  TFileTransfer& reportTransfer() { return webget_; }
  TFileTransfer& newsTransfer() { return newsget_; }
  presence::LoginCycle& cycle() { return *cycle_; }
  const game::GameProfile& gameProfile() const { return gameProfile_; }
  // What the exec scripts carry: the summary of the last clan answer.
  const QString& rosterSummary() const { return rosterSummary_; }
  const platform::ActivityLog& activityLog() const { return activityLog_; }

 private:
  // The session as the login cycle, start-up and close see it.
  class CycleParts;
  class Starting;
  class Closing;

  presence::CycleSettings CycleValues() const;
  std::optional<presence::PlayerLocation> ScanGameLog(bool offline);
  void ShowLoginState(bool loggedIn);
  void ShowClanRoster(const presence::ClanRoster& roster);
  // The wait with the update indicator: `milliseconds` at most, over early
  // once `over` holds (when given); runs a nested event loop.
  void UpdateVisDelay(int milliseconds, const std::function<bool()>& over = {});
  void WriteKeyBindings();
  void WriteExecScripts();

  void FollowSavedSettings(const app::Settings& before);
  void CheckGameDirectory();
  void DefineGameProfile();
  void ReadServerBookmarks();
  // A game file where the game keeps it; for the profile's log, the log the
  // game writes now (the newest of its log names).
  QString GameFile(const QString& fileName) const;
  QString GameExecutable() const;
  QString PlayerName() const;
  void ClanRosterShown(const std::vector<presence::RosterEntry>& roster);
  void Guarded(const std::function<void()>& handler);

  Services& services_;
  MainView& view_;
  platform::ActivityLog activityLog_;
  QString settingsFilePath_;
  app::Settings settings_;
  // The values the game profile, the bookmarks and the update timer follow:
  // those of the last save (or of the start-up).
  app::Settings followed_;
  int keyChoiceCount_ = 0;  // entries of each key list
  game::GameProfile gameProfile_;
  game::ServerBookmarks bookmarks_;
  QString rosterSummary_;
  bool clanListShown_ = true;
  bool terminating_ = false;
  game::TostNotice tostNotice_;
  presence::ClanMateWatch clanMates_;
  platform::WindowTimer timer_;
  platform::WindowTimer delayTimer_;
  // The reports' transfer, and the news' own, so a news click never
  // disturbs a report.
  TFileTransfer webget_;
  TFileTransfer newsget_;
  std::unique_ptr<CycleParts> cycleParts_;
  std::unique_ptr<presence::ReportChannel> reportChannel_;
  std::unique_ptr<NewsFetch> newsFetch_;
  std::unique_ptr<presence::LoginCycle> cycle_;
};

}  // namespace app
