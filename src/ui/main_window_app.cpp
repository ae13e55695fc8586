// Start-up, settings and shutdown of the main window: the handlers move
// values between the setup panel and the settings file; start-up and close
// run their steps through form_sequences; the rules live in src/app/.
#include "app/settings.h"
#include "app/shutdown.h"
#include "ui/form_sequences.h"
#include "ui/main_window.h"
#include "ui/settings_controls.h"

void TForm1::FormCreate() {
  StartingForm window(*this);
  app::RunStartup(window);
}

void TForm1::ReadSettings() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Lese Quavikkonfiguration"));
  const app::SettingsValues v = app::ReadSettingsFile(settingsFilePath);
  settings_controls::Show(*this, v);
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
  app::SettingsValues v = settings_controls::Read(*this);
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
  ClosingForm window(*this);
  app::CloseApplication(window, *cycle, services.dialogs, activityLog, services.paths.TempDir());
}

void TForm1::FormClose() {
  ApplicationClose();
  SaveSettings();
}

void TForm1::Minimize() {
  // To the task bar, or into the tray when the user chose so and there is
  // one; the tray icon brings it back.
  if (set_traymin->isChecked() && Tray->Available())
    hide();
  else
    showMinimized();
}
