#include "ui/form_sequences.h"

#include <QCoreApplication>

#include "app/settings.h"
#include "app/startup.h"
#include "game/game_log_size.h"
#include "game/install_finder.h"
#include "game/install_layout.h"
#include "game/key_list.h"
#include "game/keybinder.h"
#include "platform/paths.h"
#include "platform/safe_write.h"
#include "presence/game_log_scanner.h"
#include "ui/main_window.h"
#include "ui/roster_lists.h"

void StartingForm::PrepareFiles() {
  // Known before any step can fail, so a later save still finds its file.
  f.settingsFilePath = platform::JoinDir(f.services.paths.SettingsDir(), app::kSettingsFileName);
  f.SettingsFileLabel->setText(f.settingsFilePath);
  if (app::IsLogSwitch(f.services.paths.arguments)) {
    f.activityLog = platform::ActivityLog(
        true, platform::JoinDir(f.services.paths.workingDir, app::kActivityLogFileName));
    f.activityLog.Start(app::kStartupLogLine);
  }
  platform::RemoveStaleTempFiles(f.settingsFilePath);
}

void StartingForm::GenKeyBind() {
  const QStringList keys = game::GenKeyBind(f.activityLog);
  for (QComboBox* list : {f.set_keybinder_echo, f.set_keybinder_teamsay, f.set_keybinder_say}) {
    list->clear();
    list->addItems(keys);
    list->setCurrentIndex(-1);
  }
}

void StartingForm::ReadSettings() { f.ReadSettings(); }

// Without a game directory, the install of the chosen game whose log the
// game wrote last is put into the setup panel; it is kept once the user
// saves.
void StartingForm::FindGameDirectory() {
  if (!f.set_todir->text().isEmpty()) return;
  const QString found = game::NewestInstallOf(f.set_retailmod->currentIndex(), f.services.paths.homeDir,
                                              f.services.paths.winePrefix);
  if (found.isEmpty()) return;
  f.set_todir->setText(found);
  f.activityLog.Start(QStringLiteral("Spielverzeichnis gefunden: ") + found);
  f.ReadServerBookmarks();
}

void StartingForm::ClearGameLeftovers() {
  if (f.set_todir->text().isEmpty()) return;
  game::RemoveStaleTempFiles(game::GameSystemDir(f.set_todir->text()), f.GameFile(f.GameProfile.userIni));
}

void StartingForm::EnsureGameLog() {
  presence::EnsureGameLog(f.GameFile(f.GameProfile.logFile), f.set_todir->text(), f.activityLog);
}

void StartingForm::RestoreWindowPosition() {
  const app::SettingsValues stored = app::ReadSettingsFile(f.settingsFilePath);
  f.move(stored.xpos, stored.ypos);
}

void StartingForm::InitGridHeadings() {
  for (QTableWidget* list : {f.grid, f.GlobalGrid}) roster_lists::SetHeadings(list);
}

void StartingForm::PlacePanels() {
  f.ClanListShown = true;
  f.about->move(11, f.about->y());
  f.NewsPanel->move(11, f.NewsPanel->y());
}

void StartingForm::ShowPlayerName() { f.ShowPlayerName(); }

void StartingForm::ClearGlobalGrid() {
  platform::ActivityScope scope(f.activityLog, QStringLiteral("Leere Globalgrid"));
  roster_lists::ClearRows(f.GlobalGrid, f.RosterRowCount);
  f.RosterRowCount = 0;
  roster_lists::ShowGlobalNotice(f.GlobalGrid);
}

bool StartingForm::LogSizeCheckChosen() const { return f.set_logkill->isChecked(); }

void StartingForm::Logsizecheck() { game::Logsizecheck(f.GameFile(f.GameProfile.logFile), f.activityLog); }

void StartingForm::CheckFirstStart() {
  if (!app::IsSetupIncomplete(f.set_server->text(), f.set_pass->text(), f.set_todir->text())) return;
  f.services.dialogs.ShowMessage(app::FirstStartMessage(), platform::Buttons::YesOnly,
                                 platform::BoxKind::Information);
  f.Setup->setVisible(true);
}

void ClosingForm::SaveSettings() { f.SaveSettings(); }

void ClosingForm::EndTransfers() {
  f.webget->Cancel();
  f.newsget->Cancel();
}

void ClosingForm::Terminate() {
  f.terminating = true;
  if (f.services.terminate) {
    f.services.terminate();
  } else {
    QCoreApplication::quit();
  }
}
