// What the session shows in the window (app::MainView).
#include "ui/main_window.h"
#include "ui/roster_lists.h"
#include "ui/settings_controls.h"
#include "ui/setup_panel.h"

void MainWindow::ShowSettings(const app::Settings& settings) {
  panelValues_ = settings;
  if (!ui_.setupPanel) return;
  const PanelFilled filled(showingSettings_);
  settings_controls::Show(*this, settings);
}

void MainWindow::ShowSetup(bool visible) {
  if (visible || ui_.setupPanel) SetupPanel()->setVisible(visible);
}

void MainWindow::ShowKeyChoices(const QStringList& keys) {
  keyChoices_ = keys;
  if (!ui_.setupPanel) return;
  const PanelFilled filled(showingSettings_);
  for (QComboBox* list : {ui_.set_keybinder_echo, ui_.set_keybinder_teamsay, ui_.set_keybinder_say}) {
    list->clear();
    list->addItems(keys);
    list->setCurrentIndex(-1);
  }
}

void MainWindow::ShowSettingsFile(const QString& path) {
  settingsFile_ = path;
  if (ui_.aboutPanel) ui_.settingsFileLabel->setText(path);
}

void MainWindow::MoveWindow(const QPoint& position) { move(position); }

void MainWindow::ShowLoggedIn(bool loggedIn) {
  ui_.loginButton->setVisible(!loggedIn);
  ui_.logoutButton->setVisible(loggedIn);
  ui_.reloadButton->setVisible(loggedIn);
}

void MainWindow::ShowRosterHeadings() {
  for (QTableWidget* list : {ui_.clanList, ui_.globalList}) roster_lists::SetHeadings(list);
}

void MainWindow::ClearClanRoster() {
  roster_lists::ClearRows(ui_.clanList, rosterRows_);
  rosterRows_ = 0;
}

void MainWindow::ShowClanRoster(const std::vector<presence::RosterEntry>& entries) {
  rosterRows_ = roster_lists::ShowEntries(ui_.clanList, entries);
}

QString MainWindow::ClanRowServer(int row) const { return roster_lists::RowServer(ui_.clanList, row); }

void MainWindow::ClearRefusedName() { roster_lists::SetCell(ui_.clanList, 0, 1, QString()); }

void MainWindow::ShowGlobalNotice() {
  roster_lists::ClearRows(ui_.globalList, rosterRows_);
  rosterRows_ = 0;
  roster_lists::ShowGlobalNotice(ui_.globalList);
}

void MainWindow::ShowClanList(bool clan) {
  ui_.clanList->setVisible(clan);
  ui_.globalList->setVisible(!clan);
  ui_.clanListTabChosen->setVisible(clan);
  ui_.clanListTab->setVisible(!clan);
  ui_.globalListTabChosen->setVisible(!clan);
  ui_.globalListTab->setVisible(clan);
}

void MainWindow::ShowUpdateIndicator(bool visible) { ui_.updateIndicator->setVisible(visible); }

void MainWindow::PlacePanels() {
  panelsPlaced_ = true;
  for (QFrame* panel : {ui_.aboutPanel, ui_.newsPanel}) {
    if (panel) panel->move(11, panel->y());
  }
}

void MainWindow::ShowPlayerCaption(const QString& caption) { ui_.playerCaption->setText(caption); }

void MainWindow::ShowBookmarks(const QStringList& entries, const QString& hint) {
  ui_.bookmarkList->clear();
  ui_.bookmarkList->addItems(entries);
  ui_.bookmarkList->setCurrentIndex(entries.isEmpty() ? -1 : 0);
  ui_.bookmarkList->setToolTip(hint);
}

void MainWindow::ShowBookmarkHint(const QString& hint) { ui_.bookmarkList->setToolTip(hint); }

void MainWindow::ShowNewsWaiting(const QString& notice) {
  NewsPanel()->show();
  ui_.newsText->clear();
  ui_.newsText->appendPlainText(notice);
}

void MainWindow::ShowNews(const QStringList& lines) {
  NewsPanel();
  ui_.newsText->clear();
  for (const QString& line : lines) ui_.newsText->appendPlainText(line);
  ui_.newsText->moveCursor(QTextCursor::Start);
}

bool MainWindow::TrayAvailable() const { return ui_.tray->Available(); }

void MainWindow::ShowTrayState(bool loggedIn, const QString& player, int membersOnline) {
  ui_.tray->ShowState(loggedIn, TrayToolTip(loggedIn, player, membersOnline));
}

void MainWindow::Notify(const QString& text) { ui_.tray->Notify(text); }

void MainWindow::Minimize(bool intoTray) {
  if (intoTray)
    hide();
  else
    showMinimized();
}
