// What the session shows in the window (app::MainView).
#include "ui/main_window.h"
#include "ui/roster_lists.h"
#include "ui/settings_controls.h"

app::Settings TForm1::SetupValues(const app::Settings& base) const { return settings_controls::Read(*this, base); }

void TForm1::ShowSettings(const app::Settings& settings) { settings_controls::Show(*this, settings); }

void TForm1::ShowSetup(bool visible) { Setup->setVisible(visible); }

void TForm1::ShowKeyChoices(const QStringList& keys) {
  for (QComboBox* list : {set_keybinder_echo, set_keybinder_teamsay, set_keybinder_say}) {
    list->clear();
    list->addItems(keys);
    list->setCurrentIndex(-1);
  }
}

void TForm1::ShowSettingsFile(const QString& path) { SettingsFileLabel->setText(path); }

QPoint TForm1::WindowPosition() const { return pos(); }

void TForm1::MoveWindow(const QPoint& position) { move(position); }

void TForm1::ShowLoggedIn(bool loggedIn) {
  button_inaktiv->setVisible(!loggedIn);
  button_aktiv->setVisible(loggedIn);
  Image3->setVisible(loggedIn);
}

void TForm1::ShowRosterHeadings() {
  for (QTableWidget* list : {grid, GlobalGrid}) roster_lists::SetHeadings(list);
}

void TForm1::ClearClanRoster() {
  roster_lists::ClearRows(grid, RosterRowCount);
  RosterRowCount = 0;
}

void TForm1::ShowClanRoster(const std::vector<presence::RosterEntry>& entries) {
  RosterRowCount = roster_lists::ShowEntries(grid, entries);
}

void TForm1::ClearRefusedName() { roster_lists::SetCell(grid, 0, 1, QString()); }

void TForm1::ShowGlobalNotice() {
  roster_lists::ClearRows(GlobalGrid, RosterRowCount);
  RosterRowCount = 0;
  roster_lists::ShowGlobalNotice(GlobalGrid);
}

void TForm1::ShowClanList(bool clan) {
  grid->setVisible(clan);
  GlobalGrid->setVisible(!clan);
  clan_active->setVisible(clan);
  clan_inactive->setVisible(!clan);
  global_active->setVisible(!clan);
  global_inactive->setVisible(clan);
}

void TForm1::ShowUpdateIndicator(bool visible) { updateicon->setVisible(visible); }

void TForm1::PlacePanels() {
  about->move(11, about->y());
  NewsPanel->move(11, NewsPanel->y());
}

void TForm1::ShowPlayerCaption(const QString& caption) { OwnerLabel->setText(caption); }

void TForm1::ShowBookmarks(const QStringList& entries, const QString& hint) {
  serverliste->clear();
  serverliste->addItems(entries);
  serverliste->setCurrentIndex(entries.isEmpty() ? -1 : 0);
  serverliste->setToolTip(hint);
}

void TForm1::ShowBookmarkHint(const QString& hint) { serverliste->setToolTip(hint); }

void TForm1::ShowNewsWaiting(const QString& notice) {
  NewsPanel->show();
  NewsMemo->clear();
  NewsMemo->appendPlainText(notice);
}

void TForm1::ShowNews(const QStringList& lines) {
  NewsMemo->clear();
  for (const QString& line : lines) NewsMemo->appendPlainText(line);
  NewsMemo->moveCursor(QTextCursor::Start);
}

bool TForm1::TrayAvailable() const { return Tray->Available(); }

void TForm1::ShowTrayState(bool loggedIn, const QString& player, int membersOnline) {
  Tray->ShowState(loggedIn, TrayToolTip(loggedIn, player, membersOnline));
}

void TForm1::Notify(const QString& text) { Tray->Notify(text); }

void TForm1::Minimize(bool intoTray) {
  if (intoTray)
    hide();
  else
    showMinimized();
}
