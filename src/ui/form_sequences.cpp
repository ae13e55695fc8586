#include "ui/form_sequences.h"

#include <QCoreApplication>

#include "game/install_layout.h"
#include "game/keybinder.h"
#include "ui/main_window.h"

void StartingForm::PrepareFiles() { f.PrepareFiles(); }
void StartingForm::GenKeyBind() { f.GenKeyBind(); }
void StartingForm::ReadSettings() { f.ReadSettings(); }

void StartingForm::FindGameDirectory() {
  if (f.set_todir->text().isEmpty()) f.FindGameDirectory();
}

void StartingForm::ClearGameLeftovers() {
  if (f.set_todir->text().isEmpty()) return;
  game::RemoveStaleTempFiles(game::GameSystemDir(f.set_todir->text()), f.GameFile(f.GameProfile.userIni));
}

void StartingForm::EnsureGameLog() { f.EnsureGameLog(); }
void StartingForm::RestoreWindowPosition() { f.RestoreWindowPosition(); }
void StartingForm::InitGridHeadings() { f.InitGridHeadings(); }

void StartingForm::PlacePanels() {
  f.ClanListShown = true;
  f.about->move(11, f.about->y());
  f.NewsPanel->move(11, f.NewsPanel->y());
}

void StartingForm::ShowPlayerName() { f.ShowPlayerName(); }
void StartingForm::ClearGlobalGrid() { f.ClearGlobalGrid(); }
bool StartingForm::LogSizeCheckChosen() const { return f.set_logkill->isChecked(); }
void StartingForm::Logsizecheck() { f.Logsizecheck(); }
void StartingForm::CheckFirstStart() { f.CheckFirstStart(); }

void ClosingForm::SaveSettings() { f.SaveSettings(); }

void ClosingForm::Terminate() {
  f.terminating = true;
  if (f.services.terminate) {
    f.services.terminate();
  } else {
    QCoreApplication::quit();
  }
}
