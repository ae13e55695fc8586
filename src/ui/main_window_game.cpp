// The main window's game integration: key lists and bindings, exec scripts,
// game log duties at start-up, server bookmarks and game launches. The rules
// live in src/game/ and src/presence/.
#include <QApplication>
#include <QClipboard>

#include "game/install_layout.h"
#include "game/game_profile.h"
#include "game/game_log_size.h"
#include "game/key_list.h"
#include "game/keybinder.h"
#include "game/launcher.h"
#include "game/server_bookmarks.h"
#include "presence/game_log_scanner.h"
#include "presence/player_name.h"
#include "ui/directory_chooser.h"
#include "ui/main_window.h"
#include "ui/roster_lists.h"

using platform::Beep;
using platform::BoxKind;
using platform::Buttons;

void TForm1::GenKeyBind() {
  const QStringList keys = game::GenKeyBind(activityLog);
  for (QComboBox* list : {set_keybinder_echo, set_keybinder_teamsay, set_keybinder_say}) {
    list->clear();
    list->addItems(keys);
    list->setCurrentIndex(-1);
  }
}

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

void TForm1::EnsureGameLog() {
  presence::EnsureGameLog(GameFile(GameProfile.logFile), set_todir->text(),
                          activityLog);
}

void TForm1::ShowPlayerName() {
  if (const auto caption = presence::PlayerNameCaption(GameFile(GameProfile.userIni)))
    OwnerLabel->setText(*caption);
}

void TForm1::Logsizecheck() {
  game::Logsizecheck(GameFile(GameProfile.logFile), activityLog);
}

void TForm1::ReadServerBookmarks() {
  const game::ServerBookmarks bookmarks =
      game::ReadServerBookmarks(GameFile(GameProfile.gameIni), activityLog);
  serverliste->clear();
  serverliste->addItems(bookmarks.entries);
  serverliste->setCurrentIndex(bookmarks.entries.isEmpty() ? -1 : 0);
  BookmarkAddresses = bookmarks.addresses;
  serverlisteChange();
}

namespace {

// The bookmarks as the list shows them, with their addresses.
game::ServerBookmarks ShownBookmarks(const QComboBox* list, const QStringList& addresses) {
  game::ServerBookmarks bookmarks{{}, addresses};
  for (int i = 0; i < list->count(); ++i) bookmarks.entries.append(list->itemText(i));
  return bookmarks;
}

}  // namespace

void TForm1::serverlisteChange() {
  serverliste->setToolTip(
      game::BookmarkHint(ShownBookmarks(serverliste, BookmarkAddresses), serverliste->currentIndex()));
}

void TForm1::Image5Click() {
  game::LaunchGame(
      services.shell, set_todir->text(), GameProfile,
      game::BookmarkServerText(ShownBookmarks(serverliste, BookmarkAddresses), serverliste->currentIndex()),
      activityLog);
}

void TForm1::gridDblClick() {
  if (grid->currentRow() < 1) return;  // no entry, or the heading row
  const QTableWidgetItem* cell = grid->item(grid->currentRow(), 1);
  const QString onlineOn = cell ? cell->text() : QString();
  switch (game::DecideRosterLaunch(onlineOn)) {
    case game::RosterLaunch::Ignore:
      return;
    case game::RosterLaunch::Launch:
      game::LaunchGame(services.shell, set_todir->text(), GameProfile, onlineOn, activityLog);
      return;
    case game::RosterLaunch::NoValidAddress:
      services.dialogs.ShowMessage(game::kNoValidServerMessage, Buttons::YesOnly, BoxKind::Error);
      return;
  }
}

void TForm1::GlobalGridDblClick() {
  if (GlobalGrid->currentRow() < 1) return;  // no entry, or the heading row
  QApplication::clipboard()->setText(roster_lists::RowText(GlobalGrid, GlobalGrid->currentRow()));
}

void TForm1::SpeedButton1Click() {
  if (Form2) Form2->exec();
}
