// Start-up, settings and shutdown of the main window: the handlers move
// values between the setup panel and the settings file and run the start-up
// steps in their fixed order; the rules live in src/app/.
#include <QCoreApplication>

#include "app/settings.h"
#include "app/settings_keys.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "app/startup_sequence.h"
#include "game/install_finder.h"
#include "game/keybinder.h"
#include "platform/errors.h"
#include "platform/file_ops.h"
#include "platform/guarded_application.h"
#include "platform/paths.h"
#include "platform/safe_write.h"
#include "ui/main_window.h"

namespace {

// A stored index outside its list leaves the choice empty.
void SelectIndex(QComboBox* list, int index) {
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

}  // namespace

void TForm1::FormCreate() {
  struct Window : app::StartingWindow {
    explicit Window(TForm1& f) : f(f) {}
    void PrepareFiles() override { f.PrepareFiles(); }
    void GenKeyBind() override { f.GenKeyBind(); }
    void ReadSettings() override { f.ReadSettings(); }
    void FindGameDirectory() override {
      if (f.set_todir->text().isEmpty()) f.FindGameDirectory();
    }
    void ClearGameLeftovers() override {
      if (f.set_todir->text().isEmpty()) return;
      game::RemoveStaleTempFiles(game::GameSystemDir(f.set_todir->text()), f.GameFile(f.GameProfile.userIni));
    }
    void EnsureGameLog() override { f.EnsureGameLog(); }
    void RestoreWindowPosition() override { f.RestoreWindowPosition(); }
    void InitGridHeadings() override { f.InitGridHeadings(); }
    void PlacePanels() override {
      f.ClanListShown = true;
      f.about->move(11, f.about->y());
      f.NewsPanel->move(11, f.NewsPanel->y());
    }
    void ShowPlayerName() override { f.ShowPlayerName(); }
    void ClearGlobalGrid() override { f.ClearGlobalGrid(); }
    bool LogSizeCheckChosen() const override { return f.set_logkill->isChecked(); }
    void Logsizecheck() override { f.Logsizecheck(); }
    void CheckFirstStart() override { f.CheckFirstStart(); }
    TForm1& f;
  } window(*this);
  app::RunStartup(window);
}

void TForm1::PrepareFiles() {
  // Known before any step can fail, so a later save still finds its file.
  settingsFilePath = platform::JoinDir(services.paths.SettingsDir(), app::kSettingsFileName);
  SettingsFileLabel->setText(settingsFilePath);
  if (app::IsLogSwitch(services.paths.arguments)) {
    activityLog = platform::ActivityLog(
        true, platform::JoinDir(services.paths.workingDir, app::kActivityLogFileName));
    activityLog.Start(app::kStartupLogLine);
  }
  platform::RemoveStaleTempFiles(settingsFilePath);
}

// Without a game directory, the install of the chosen game whose log the
// game wrote last is put into the setup panel; it is kept once the user
// saves.
void TForm1::FindGameDirectory() {
  const QString found =
      game::NewestInstallOf(set_retailmod->currentIndex(), services.paths.homeDir, services.paths.winePrefix);
  if (found.isEmpty()) return;
  set_todir->setText(found);
  activityLog.Start(QStringLiteral("Spielverzeichnis gefunden: ") + found);
  ReadServerBookmarks();
}

void TForm1::CheckFirstStart() {
  if (!app::IsSetupIncomplete(set_server->text(), set_pass->text(), set_todir->text())) return;
  services.dialogs.ShowMessage(app::FirstStartMessage(), platform::Buttons::YesOnly,
                               platform::BoxKind::Information);
  Setup->setVisible(true);
}

void TForm1::RestoreWindowPosition() {
  const app::SettingsValues stored = app::ReadSettingsFile(settingsFilePath);
  move(stored.xpos, stored.ypos);
}

void TForm1::ReadSettings() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Lese Quavikkonfiguration"));
  const app::SettingsValues v = app::ReadSettingsFile(settingsFilePath);
  for (const app::SettingKey& k : app::SettingKeys()) {
    if (k.control.isEmpty()) continue;
    QWidget* control = findChild<QWidget*>(k.control);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      edit->setText(v.*std::get<QString app::SettingsValues::*>(k.field));
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
      box->setChecked(v.*std::get<bool app::SettingsValues::*>(k.field));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      SelectIndex(list, v.*std::get<int app::SettingsValues::*>(k.field));
    }
  }
  move(v.xpos, v.ypos);
  CheckGameDirectory();
  DefineGameProfile();
  ReadServerBookmarks();
}

void TForm1::SaveSettings() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Speichere Quavikkonfiguration"));
  CheckGameDirectory();
  if (const auto corrected = app::CorrectedScriptUrl(set_server->text())) {
    services.dialogs.MessageBeep(platform::Beep::Error);
    services.dialogs.ShowMessage(app::ScriptUrlCorrectionMessage(), platform::Buttons::Ok,
                                 platform::BoxKind::Information);
    set_server->setText(*corrected);
  }
  app::SettingsValues v;
  for (const app::SettingKey& k : app::SettingKeys()) {
    if (k.control.isEmpty()) continue;
    QWidget* control = findChild<QWidget*>(k.control);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      v.*std::get<QString app::SettingsValues::*>(k.field) = edit->text();
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
      v.*std::get<bool app::SettingsValues::*>(k.field) = box->isChecked();
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      v.*std::get<int app::SettingsValues::*>(k.field) = list->currentIndex();
    }
  }
  v.xpos = x();
  v.ypos = y();
  app::WriteSettingsFile(settingsFilePath, v);
  DefineGameProfile();
  WriteKeyBindings();
}

void TForm1::CheckGameDirectory() {
  platform::ActivityScope scope(activityLog, QStringLiteral("\\check"));
  const QString dir = app::WithTrailingSeparator(set_todir->text());
  if (dir != set_todir->text()) set_todir->setText(dir);
}

void TForm1::DefineGameProfile() {
  GameProfile = game::DefineGameProfile(set_retailmod->currentIndex(), activityLog);
}

void TForm1::ApplicationClose() {
  struct Window : app::ClosingWindow {
    explicit Window(TForm1& form) : form(form) {}
    void SaveSettings() override { form.SaveSettings(); }
    void Terminate() override {
      form.terminating = true;
      if (form.services.terminate) {
        form.services.terminate();
      } else {
        QCoreApplication::quit();
      }
    }
    TForm1& form;
  } window(*this);
  app::CloseApplication(window, *cycle, services.dialogs, activityLog, services.paths.TempDir());
}

void TForm1::FormClose() {
  ApplicationClose();
  SaveSettings();
}

void TForm1::Minimize() {
  // With a tray the window goes there; its icon brings it back.
  if (Tray->Available())
    hide();
  else
    showMinimized();
}
