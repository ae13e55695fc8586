// The user's actions: each hands its event to the session, or opens and
// closes a panel of the window's own.
#include <QApplication>
#include <QClipboard>

#include "app/session.h"
#include "ui/directory_chooser.h"
#include "ui/main_window.h"
#include "ui/roster_lists.h"

// Shows a hidden setup panel, hides a shown one; nothing is saved.
void TForm1::BitBtn1Click() {
  QFrame* setup = SetupPanel();
  setup->setVisible(setup->isHidden());
}

// A failed save raises before the confirmation, and the panel stays open.
void TForm1::Button1Click() {
  session_->SaveSettingsConfirmed();
  BitBtn1Click();
}

void TForm1::BitBtn2Click() { session_->OpenClanSite(); }
void TForm1::Image8Click() { session_->OpenHomePage(); }
void TForm1::Image6Click() { session_->Minimize(); }
void TForm1::Minimieren1Click() { session_->Minimize(); }
void TForm1::Image7Click() { session_->ApplicationClose(); }
void TForm1::Quavikbeenden1Click() { session_->ApplicationClose(); }
void TForm1::berdenQuavik1Click() { AboutPanel()->show(); }
void TForm1::Button3Click() { ui_.about->hide(); }
void TForm1::Button2Click() { ui_.NewsPanel->hide(); }

void TForm1::button_inaktivClick() { session_->StartStop(); }
void TForm1::button_aktivClick() { session_->StartStop(); }
void TForm1::reloadClick() { session_->Reload(); }
void TForm1::clan_activeClick() { session_->SwitchList(); }

void TForm1::gridDblClick() {
  if (ui_.grid->currentRow() < 1) return;  // no entry, or the heading row
  session_->LaunchFromRoster(ClanRowServer(ui_.grid->currentRow()));
}

void TForm1::GlobalGridDblClick() {
  if (ui_.GlobalGrid->currentRow() < 1) return;  // no entry, or the heading row
  QApplication::clipboard()->setText(roster_lists::RowText(ui_.GlobalGrid, ui_.GlobalGrid->currentRow()));
}

void TForm1::Image5Click() { session_->StartGame(ui_.serverliste->currentIndex()); }
void TForm1::serverlisteChange() { session_->BookmarkChosen(ui_.serverliste->currentIndex()); }
void TForm1::set_keybinder_echoChange() { session_->EchoKeyChanged(); }
void TForm1::Image9Click() { session_->FetchNews(); }

void TForm1::SpeedButton1Click() {
  if (!chooser_) {
    ownChooser_ = std::make_unique<TForm2>(ui_.set_todir);
    chooser_ = ownChooser_.get();
  }
  chooser_->exec();
}

void TForm1::TrayShowClick() { BringToFront(); }

void TForm1::BringToFront() {
  showNormal();
  raise();
  activateWindow();
}

// The tray logs in and out through the login cycle as a click does.
void TForm1::TrayLoginClick() { session_->StartStop(); }
void TForm1::TrayQuitClick() { session_->ApplicationClose(); }
