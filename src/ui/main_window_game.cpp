// The main window's game integration: key bindings, exec scripts, the
// player's name, server bookmarks and game launches. The rules live in
// src/game/ and src/presence/.
#include <QApplication>
#include <QClipboard>

#include "game/install_layout.h"
#include "game/game_profile.h"
#include "game/keybinder.h"
#include "game/launcher.h"
#include "game/server_bookmarks.h"
#include "presence/player_name.h"
#include "ui/directory_chooser.h"
#include "ui/main_window.h"
#include "ui/roster_lists.h"

using platform::Beep;
using platform::BoxKind;
using platform::Buttons;

QString TForm1::GameFile(const QString& fileName) const {
  return game::LocateGameFile(game::PlacesOf(set_todir->text(), GameProfile, services.paths.homeDir), fileName);
}

QString TForm1::GameExecutable() const { return game::LocateExecutable(set_todir->text(), GameProfile); }

void TForm1::WriteKeyBindings() {
  game::WriteKeyBindings(GameFile(GameProfile.userIni),
                         set_keybinder_echo->currentIndex(), set_keybinder_teamsay->currentIndex(),
                         set_keybinder_say->currentIndex(), activityLog);
}

void TForm1::WriteExecScripts() {
  game::WriteExecScripts(
      game::ExecScriptDirs(game::PlacesOf(set_todir->text(), GameProfile, services.paths.homeDir), GameProfile),
      RosterSummary, activityLog);
}

void TForm1::set_keybinder_echoChange() {
  if (!tostNotice.OnEchoKeyChange()) return;
  services.dialogs.MessageBeep(Beep::Exclamation);
  services.dialogs.ShowMessage(game::kTostNoticeMessage, Buttons::Ok, BoxKind::Information);
}

void TForm1::ShowPlayerName() {
  if (const auto caption = presence::PlayerNameCaption(GameFile(GameProfile.userIni)))
    OwnerLabel->setText(*caption);
}

void TForm1::ReadServerBookmarks() {
  Bookmarks = game::ReadServerBookmarks(GameFile(GameProfile.gameIni), activityLog);
  serverliste->clear();
  serverliste->addItems(Bookmarks.entries);
  serverliste->setCurrentIndex(Bookmarks.entries.isEmpty() ? -1 : 0);
  serverlisteChange();
}

void TForm1::serverlisteChange() {
  serverliste->setToolTip(game::BookmarkHint(Bookmarks, serverliste->currentIndex()));
}

void TForm1::Image5Click() {
  game::LaunchGame(services.shell, set_todir->text(), GameProfile,
                   game::BookmarkServerText(Bookmarks, serverliste->currentIndex()), activityLog);
}

void TForm1::gridDblClick() {
  if (grid->currentRow() < 1) return;  // no entry, or the heading row
  const QTableWidgetItem* cell = grid->item(grid->currentRow(), 1);
  game::LaunchFromRoster(services.shell, services.dialogs, set_todir->text(), GameProfile,
                         cell ? cell->text() : QString(), activityLog);
}

void TForm1::GlobalGridDblClick() {
  if (GlobalGrid->currentRow() < 1) return;  // no entry, or the heading row
  QApplication::clipboard()->setText(roster_lists::RowText(GlobalGrid, GlobalGrid->currentRow()));
}

void TForm1::SpeedButton1Click() {
  if (!Form2) {
    ownChooser = std::make_unique<TForm2>(set_todir);
    Form2 = ownChooser.get();
  }
  Form2->exec();
}
