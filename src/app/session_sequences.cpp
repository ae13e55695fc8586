// Start-up and close as the session does them: the steps app::RunStartup and
// app::CloseApplication ask for, and the news fetch.
#include <QCoreApplication>

#include "app/news_fetch.h"
#include "app/session.h"
#include "app/session_parts.h"
#include "app/startup.h"
#include "game/game_log_size.h"
#include "game/install_finder.h"
#include "game/install_layout.h"
#include "game/key_list.h"
#include "platform/os/paths.h"
#include "platform/os/safe_write.h"
#include "presence/game_log_scanner.h"

namespace app {

void Session::Start() {
  Starting steps(*this);
  RunStartup(steps);
}

void Session::ApplicationClose() {
  Closing steps(*this);
  CloseApplication(steps, *cycle_, services_.dialogs, activityLog_, services_.paths.TempDir());
}

void Session::FormClose() {
  ApplicationClose();
  SaveSettings();
}

void Session::Starting::PrepareFiles() {
  // Known before any step can fail, so a later save still finds its file.
  s.settingsFilePath_ = platform::JoinDir(s.services_.paths.SettingsDir(), kSettingsFileName);
  s.view_.ShowSettingsFile(s.settingsFilePath_);
  if (IsLogSwitch(s.services_.paths.arguments)) {
    s.activityLog_ =
        platform::ActivityLog(true, platform::JoinDir(s.services_.paths.workingDir, kActivityLogFileName));
    s.activityLog_.Start(kStartupLogLine);
  }
  platform::RemoveStaleTempFiles(s.settingsFilePath_);
}

void Session::Starting::GenKeyBind() {
  const QStringList keys = game::GenKeyBind(s.activityLog_);
  s.keyChoiceCount_ = int(keys.size());
  s.view_.ShowKeyChoices(keys);
}

// Without a game directory, the install of the chosen game whose log the
// game wrote last is put into the setup panel; it is kept once the user
// saves.
void Session::Starting::FindGameDirectory() {
  if (!s.settings_.directory.isEmpty()) return;
  const QString found =
      game::NewestInstallOf(s.settings_.gameIndex, s.services_.paths.homeDir, s.services_.paths.winePrefix);
  if (found.isEmpty()) return;
  s.settings_.directory = found;
  s.followed_.directory = found;
  s.view_.ShowSettings(s.settings_);
  s.activityLog_.Start(QStringLiteral("Spielverzeichnis gefunden: ") + found);
  s.ReadServerBookmarks();
}

void Session::Starting::ClearGameLeftovers() {
  if (s.settings_.directory.isEmpty()) return;
  game::RemoveStaleTempFiles(game::GameSystemDir(s.settings_.directory), s.GameFile(s.gameProfile_.userIni));
}

void Session::Starting::EnsureGameLog() {
  presence::EnsureGameLog(s.GameFile(s.gameProfile_.logFile), s.settings_.directory, s.activityLog_);
}

void Session::Starting::RestoreWindowPosition() {
  const Settings stored = Settings::Load(s.settingsFilePath_);
  s.WindowMoved({stored.xpos, stored.ypos});
  s.view_.MoveWindow({stored.xpos, stored.ypos});
}

void Session::Starting::PlacePanels() {
  s.clanListShown_ = true;
  s.view_.PlacePanels();
}

void Session::Starting::ClearGlobalGrid() {
  platform::ActivityScope scope(s.activityLog_, QStringLiteral("Leere Globalgrid"));
  s.view_.ShowGlobalNotice();
}

void Session::Starting::Logsizecheck() { game::Logsizecheck(s.GameFile(s.gameProfile_.logFile), s.activityLog_); }

void Session::Starting::CheckFirstStart() {
  if (!IsSetupIncomplete(s.settings_.scriptUrl, s.settings_.pass, s.settings_.directory)) return;
  s.services_.dialogs.ShowMessage(FirstStartMessage(), platform::Buttons::YesOnly, platform::BoxKind::Information);
  s.view_.ShowSetup(true);
}

void Session::Closing::EndTransfers() {
  s.webget_.Cancel();
  s.newsget_.Cancel();
}

void Session::Closing::Terminate() {
  s.terminating_ = true;
  if (s.services_.terminate) {
    s.services_.terminate();
  } else {
    QCoreApplication::quit();
  }
}

// ---- news ----

void Session::FetchNews() {
  view_.ShowNewsWaiting(QStringLiteral("Einen Moment, die aktuellen News werden von der Website ") + kNewsSiteName +
                        QStringLiteral(" geladen. Dauert ein paar Sekunden..."));
  newsFetch_->Start(newsUrl);
  UpdateVisDelay(5000);
  view_.ShowNews({});  // a news file that can't be read leaves the panel empty
  view_.ShowNews(newsFetch_->Text());
}

}  // namespace app
