// Construction, the settings in use, the game's files and the game actions.
#include "app/session.h"

#include "app/news_fetch.h"
#include "app/session_parts.h"
#include "app/startup.h"
#include "app/transfer_report_channel.h"
#include "game/install_layout.h"
#include "game/launcher.h"
#include "platform/os/guarded_application.h"
#include "presence/player_name.h"

namespace app {

using platform::Beep;
using platform::BoxKind;
using platform::Buttons;

Session::Session(Services& services, MainView& view) : services_(services), view_(view) {
  webget_.setObjectName(QStringLiteral("webget"));
  webget_.ShowDialog = false;
  webget_.OnURLNotFound = [this](QObject*, const QString&) { Guarded([this] { cycle_->UrlNotFound(); }); };
  newsget_.setObjectName(QStringLiteral("newsget"));
  newsget_.ShowDialog = false;
  newsFetch_ = std::make_unique<NewsFetch>(newsget_, services_.paths.TempDir());
  cycleParts_ = std::make_unique<CycleParts>(*this);
  reportChannel_ = std::make_unique<TransferReportChannel>(webget_, services_.paths.TempDir(), kAnswerFileName);
  cycle_ = std::make_unique<presence::LoginCycle>(
      presence::LoginCycle::Parts{*cycleParts_, *cycleParts_, *cycleParts_, *reportChannel_, services_.dialogs,
                                  timer_, activityLog_, services_.waits});
  timer_.setObjectName(QStringLiteral("Timer"));
  timer_.OnTimer = [this] { Guarded([this] { Tick(); }); };
  delayTimer_.setObjectName(QStringLiteral("DelayTimer"));
  delayTimer_.OnTimer = [this] { Guarded([this] { delayTimer_.SetEnabled(false); }); };
}

Session::~Session() = default;

void Session::Guarded(const std::function<void()>& handler) { platform::RunGuarded(services_.dialogs, handler); }

// ---- settings ----

void Session::ReadSettings() {
  platform::ActivityScope scope(activityLog_, QStringLiteral("Lese Quavikkonfiguration"));
  // What the panel could not show (an index beyond its list) is not in use.
  settings_ = WithinChoices(app::Settings::Load(settingsFilePath_), keyChoiceCount_);
  view_.ShowSettings(settings_);
  view_.MoveWindow({settings_.xpos, settings_.ypos});
  CheckGameDirectory();
  DefineGameProfile();
  ReadServerBookmarks();
  followed_ = settings_;
}

void Session::SaveSettings() {
  platform::ActivityScope scope(activityLog_, QStringLiteral("Speichere Quavikkonfiguration"));
  CheckGameDirectory();
  if (const auto corrected = CorrectedScriptUrl(settings_.scriptUrl)) {
    services_.dialogs.MessageBeep(Beep::Error);
    services_.dialogs.ShowMessage(ScriptUrlCorrectionMessage(), Buttons::Ok, BoxKind::Information);
    settings_.scriptUrl = *corrected;
    view_.ShowSettings(settings_);
  }
  settings_.Save(settingsFilePath_);
  DefineGameProfile();
  WriteKeyBindings();
  FollowSavedSettings(std::exchange(followed_, settings_));
}

void Session::SettingsEdited(const app::Settings& values) {
  app::Settings edited = values;
  edited.xpos = settings_.xpos;  // the window's place is not on the panel
  edited.ypos = settings_.ypos;
  settings_ = edited;
}

void Session::WindowMoved(const QPoint& position) {
  settings_.xpos = position.x();
  settings_.ypos = position.y();
}

// What the saved values decide takes effect now, not at the next start or
// login. Only what changed since the last save is derived again: a save
// comes before every report, and re-reading the bookmarks would drop the
// chosen one, resetting the interval would restart the timer's count.
void Session::FollowSavedSettings(const app::Settings& before) {
  if (settings_.directory != before.directory || settings_.gameIndex != before.gameIndex) {
    ReadServerBookmarks();
    ShowPlayerName();
  }
  if (settings_.updateInterval != before.updateInterval) cycle_->IntervalChosen(settings_.updateInterval);
}

// A failed save raises before the confirmation.
void Session::SaveSettingsConfirmed() {
  SaveSettings();
  services_.dialogs.ShowMessage(QStringLiteral("Die Konfiguration wurde gespeichert..."), Buttons::YesOnly,
                                BoxKind::Information);
}

void Session::CheckGameDirectory() {
  platform::ActivityScope scope(activityLog_, QStringLiteral("\\check"));
  const QString dir = WithTrailingSeparator(settings_.directory);
  if (dir == settings_.directory) return;
  settings_.directory = dir;
  view_.ShowSettings(settings_);
}

void Session::DefineGameProfile() { gameProfile_ = game::DefineGameProfile(settings_.gameIndex, activityLog_); }

// ---- the game's files ----

QString Session::GameFile(const QString& fileName) const {
  const game::InstallPlaces places = game::PlacesOf(settings_.directory, gameProfile_, services_.paths.homeDir);
  if (fileName == gameProfile_.logFile) return game::LocateGameLog(places, gameProfile_);
  return game::LocateGameFile(places, fileName);
}

QString Session::GameExecutable() const { return game::LocateExecutable(settings_.directory, gameProfile_); }

QString Session::PlayerName() const {
  const QString name = presence::ReadPlayerName(game::GameFilePath(settings_.directory, gameProfile_.userIni));
  return name == QStringLiteral("?") ? QString() : name;
}

void Session::ShowPlayerName() {
  // Without the user INI the label shows its bare caption, not the name of
  // a game directory chosen before.
  view_.ShowPlayerCaption(
      presence::PlayerNameCaption(GameFile(gameProfile_.userIni)).value_or(QStringLiteral("Username: ")));
}

void Session::WriteKeyBindings() {
  game::WriteKeyBindings(GameFile(gameProfile_.userIni), settings_.keyEcho, settings_.keyTeamsay, settings_.keySay,
                         activityLog_);
}

void Session::WriteExecScripts() {
  game::WriteExecScripts(
      game::ExecScriptDirs(game::PlacesOf(settings_.directory, gameProfile_, services_.paths.homeDir), gameProfile_),
      rosterSummary_, activityLog_);
}

// ---- game actions ----

void Session::ReadServerBookmarks() {
  bookmarks_ = game::ReadServerBookmarks(GameFile(gameProfile_.gameIni), activityLog_);
  view_.ShowBookmarks(bookmarks_.entries, game::BookmarkHint(bookmarks_, bookmarks_.entries.isEmpty() ? -1 : 0));
}

QString Session::BookmarkServer(int bookmarkIndex) const { return game::BookmarkServerText(bookmarks_, bookmarkIndex); }

void Session::BookmarkChosen(int bookmarkIndex) { view_.ShowBookmarkHint(game::BookmarkHint(bookmarks_, bookmarkIndex)); }

void Session::StartGame(int bookmarkIndex) {
  game::LaunchGame(services_.shell, settings_.directory, gameProfile_,
                   game::BookmarkServerText(bookmarks_, bookmarkIndex), activityLog_);
}

void Session::LaunchFromRoster(const QString& onlineOn) {
  game::LaunchFromRoster(services_.shell, services_.dialogs, settings_.directory, gameProfile_, onlineOn,
                         activityLog_);
}

void Session::EchoKeyChanged() {
  if (!tostNotice_.OnEchoKeyChange()) return;
  services_.dialogs.MessageBeep(Beep::Exclamation);
  services_.dialogs.ShowMessage(game::kTostNoticeMessage, Buttons::Ok, BoxKind::Information);
}

void Session::OpenClanSite() {
  const QString site = settings_.clansite;
  if (site.isEmpty()) {
    services_.dialogs.ShowMessage(
        QStringLiteral("Mit dieser Funktion könnten Sie direkt zu Ihrer Clansite springen. Legen Sie bitte "
                       "vorher deren URL in den Programmeinstellungen fest..."),
        Buttons::YesOnly, BoxKind::Information);
    return;
  }
  services_.shell.OpenDocument(site);
}

void Session::OpenHomePage() { services_.shell.OpenDocument(kHomePage); }

// To the task bar, or into the tray when the user chose so and there is
// one; the tray icon brings it back.
void Session::Minimize() { view_.Minimize(settings_.trayMinimize && view_.TrayAvailable()); }

}  // namespace app
