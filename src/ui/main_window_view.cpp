// What the session shows in the window (app::MainView).
#include "ui/main_window.h"
#include "ui/roster_lists.h"
#include "ui/settings_controls.h"
#include "ui/setup_panel.h"

app::Settings TForm1::SetupValues(const app::Settings& base) const {
  if (ui_.Setup) return settings_controls::Read(*this, base);
  return settings_controls::ReadUnbuilt(panelValues_, base, [this](const QString& list) {
    return window_layout::ChoiceCount(list, keyChoices_);
  });
}

void TForm1::ShowSettings(const app::Settings& settings) {
  panelValues_ = settings;
  if (ui_.Setup) settings_controls::Show(*this, settings);
}

void TForm1::ShowSetup(bool visible) {
  if (visible || ui_.Setup) SetupPanel()->setVisible(visible);
}

void TForm1::ShowKeyChoices(const QStringList& keys) {
  keyChoices_ = keys;
  if (!ui_.Setup) return;
  for (QComboBox* list : {ui_.set_keybinder_echo, ui_.set_keybinder_teamsay, ui_.set_keybinder_say}) {
    list->clear();
    list->addItems(keys);
    list->setCurrentIndex(-1);
  }
}

void TForm1::ShowSettingsFile(const QString& path) {
  settingsFile_ = path;
  if (ui_.about) ui_.SettingsFileLabel->setText(path);
}

QPoint TForm1::WindowPosition() const { return pos(); }

void TForm1::MoveWindow(const QPoint& position) { move(position); }

void TForm1::ShowLoggedIn(bool loggedIn) {
  ui_.button_inaktiv->setVisible(!loggedIn);
  ui_.button_aktiv->setVisible(loggedIn);
  ui_.Image3->setVisible(loggedIn);
}

void TForm1::ShowRosterHeadings() {
  for (QTableWidget* list : {ui_.grid, ui_.GlobalGrid}) roster_lists::SetHeadings(list);
}

void TForm1::ClearClanRoster() {
  roster_lists::ClearRows(ui_.grid, rosterRows_);
  rosterRows_ = 0;
}

void TForm1::ShowClanRoster(const std::vector<presence::RosterEntry>& entries) {
  rosterRows_ = roster_lists::ShowEntries(ui_.grid, entries);
}

QString TForm1::ClanRowServer(int row) const { return roster_lists::RowServer(ui_.grid, row); }

void TForm1::ClearRefusedName() { roster_lists::SetCell(ui_.grid, 0, 1, QString()); }

void TForm1::ShowGlobalNotice() {
  roster_lists::ClearRows(ui_.GlobalGrid, rosterRows_);
  rosterRows_ = 0;
  roster_lists::ShowGlobalNotice(ui_.GlobalGrid);
}

void TForm1::ShowClanList(bool clan) {
  ui_.grid->setVisible(clan);
  ui_.GlobalGrid->setVisible(!clan);
  ui_.clan_active->setVisible(clan);
  ui_.clan_inactive->setVisible(!clan);
  ui_.global_active->setVisible(!clan);
  ui_.global_inactive->setVisible(clan);
}

void TForm1::ShowUpdateIndicator(bool visible) { ui_.updateicon->setVisible(visible); }

void TForm1::PlacePanels() {
  panelsPlaced_ = true;
  for (QFrame* panel : {ui_.about, ui_.NewsPanel}) {
    if (panel) panel->move(11, panel->y());
  }
}

void TForm1::ShowPlayerCaption(const QString& caption) { ui_.OwnerLabel->setText(caption); }

void TForm1::ShowBookmarks(const QStringList& entries, const QString& hint) {
  ui_.serverliste->clear();
  ui_.serverliste->addItems(entries);
  ui_.serverliste->setCurrentIndex(entries.isEmpty() ? -1 : 0);
  ui_.serverliste->setToolTip(hint);
}

void TForm1::ShowBookmarkHint(const QString& hint) { ui_.serverliste->setToolTip(hint); }

void TForm1::ShowNewsWaiting(const QString& notice) {
  NewsPanel()->show();
  ui_.NewsMemo->clear();
  ui_.NewsMemo->appendPlainText(notice);
}

void TForm1::ShowNews(const QStringList& lines) {
  NewsPanel();
  ui_.NewsMemo->clear();
  for (const QString& line : lines) ui_.NewsMemo->appendPlainText(line);
  ui_.NewsMemo->moveCursor(QTextCursor::Start);
}

bool TForm1::TrayAvailable() const { return ui_.Tray->Available(); }

void TForm1::ShowTrayState(bool loggedIn, const QString& player, int membersOnline) {
  ui_.Tray->ShowState(loggedIn, TrayToolTip(loggedIn, player, membersOnline));
}

void TForm1::Notify(const QString& text) { ui_.Tray->Notify(text); }

void TForm1::Minimize(bool intoTray) {
  if (intoTray)
    hide();
  else
    showMinimized();
}
