// The user's actions: each hands its event to the session, or opens and
// closes a panel of the window's own.
#include <QApplication>
#include <QClipboard>

#include "app/session.h"
#include "ui/directory_chooser.h"
#include "ui/main_window.h"
#include "ui/roster_lists.h"

// Nothing is saved.
void MainWindow::ToggleSetupPanel() {
  QFrame* setup = SetupPanel();
  setup->setVisible(setup->isHidden());
}

// A failed save raises before the confirmation, and the panel stays open.
void MainWindow::SaveSettingsAndReturn() {
  session_->SaveSettingsConfirmed();
  ToggleSetupPanel();
}

void MainWindow::OpenClanSite() { session_->OpenClanSite(); }
void MainWindow::OpenHomePage() { session_->OpenHomePage(); }
void MainWindow::MinimizeByUser() { session_->Minimize(); }
void MainWindow::CloseProgram() { session_->ApplicationClose(); }
void MainWindow::ShowAboutPanel() { AboutPanel()->show(); }
void MainWindow::CloseAboutPanel() { ui_.aboutPanel->hide(); }
void MainWindow::CloseNewsPanel() { ui_.newsPanel->hide(); }

// The tray logs in and out through the login cycle as a click does.
void MainWindow::LogInOrOut() { session_->StartStop(); }
void MainWindow::Reload() { session_->Reload(); }
void MainWindow::SwitchRosterList() { session_->SwitchList(); }

void MainWindow::LaunchFromClanRow() {
  if (ui_.clanList->currentRow() < 1) return;  // no entry, or the heading row
  session_->LaunchFromRoster(ClanRowServer(ui_.clanList->currentRow()));
}

void MainWindow::CopyGlobalRow() {
  if (ui_.globalList->currentRow() < 1) return;  // no entry, or the heading row
  QApplication::clipboard()->setText(roster_lists::RowText(ui_.globalList, ui_.globalList->currentRow()));
}

void MainWindow::StartGame() { session_->StartGame(ui_.bookmarkList->currentIndex()); }
void MainWindow::BookmarkChosen() { session_->BookmarkChosen(ui_.bookmarkList->currentIndex()); }
void MainWindow::EchoKeyChosen() { session_->EchoKeyChanged(); }
void MainWindow::FetchNews() { session_->FetchNews(); }

void MainWindow::ChooseGameDirectory() {
  if (!chooser_) {
    ownChooser_ = std::make_unique<DirectoryChooser>(ui_.set_todir);
    chooser_ = ownChooser_.get();
  }
  chooser_->exec();
}

void MainWindow::BringToFront() {
  showNormal();
  raise();
  activateWindow();
}
