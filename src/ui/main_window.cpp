#include "ui/main_window.h"

#include <QCloseEvent>
#include <QHeaderView>

#include "app/session.h"
#include "platform/os/guarded_application.h"
#include "skin/artwork.h"
#include "serverinfo/server_info_cache.h"
#include "ui/directory_chooser.h"
#include "ui/program_style.h"
#include "ui/server_hover.h"
#include "ui/server_info_panel.h"
#include "ui/info_panels.h"
#include "ui/settings_controls.h"
#include "ui/setup_panel.h"
#include "skin/ui_style.h"
#include "ui/window_layout.h"

MainWindow::MainWindow(app::Services& services, QWidget* parent) : QWidget(parent), services_(services) {
  ProgramStyle::Install();
  BuildWindow();
  session_ = std::make_unique<app::Session>(services_, *this);
  BindHandlers();
  BuildTray();
  BuildServerInfo();
  Guarded([this] { session_->Start(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::Guarded(const std::function<void()>& handler) {
  platform::RunGuarded(services_.dialogs, handler);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Ending the application closes its windows: that close is the end of a
  // shutdown already done, not a new one.
  if (!session_->Terminating()) Guarded([this] { session_->FormClose(); });
  event->accept();
}

// The user's edit, or a test's: the session holds the settings in use, so
// each change of the panel goes there at once. What the session itself
// shows on the panel is no edit.
void MainWindow::PanelEdited() {
  if (showingSettings_ == 0) session_->SettingsEdited(settings_controls::Read(*this, session_->settings()));
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (session_) session_->WindowMoved(pos());
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  SetServerInfoIdle(isMinimized());
}

void MainWindow::SetServerInfoIdle(bool idle) {
  if (serverInfo_) serverInfo_->SetIdle(idle);  // not before it is built
}

void MainWindow::hideEvent(QHideEvent* event) {
  SetServerInfoIdle(true);
  QWidget::hideEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) SetServerInfoIdle(isMinimized() || !isVisible());
  QWidget::changeEvent(event);
}

void MainWindow::BuildWindow() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quavik RC5"));
  setWindowIcon(artwork::WindowIcon());
  setFixedSize(299, 399);
  setFont(ui_style::SansSerif(11));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, palette().color(QPalette::Button));
  setPalette(pal);

  ui_.skin = new TSkinForm(this);
  ui_.skin->SetPicture(artwork::Skin());
  ui_.skin->LoadOutline(QByteArray(4, '\0'));

  ui_.windowDrag = new WindowDragFilter(this);
  ui_.windowDrag->setObjectName(QStringLiteral("windowDrag"));
  window_layout::BuildControls(*this, ui_);
}

void MainWindow::BindHandlers() {
  Bind(ui_.clanSiteButton, &TImage::clicked, &MainWindow::OpenClanSite);
  Bind(ui_.reloadButton, &TImage::clicked, &MainWindow::Reload);
  Bind(ui_.setupButton, &TImage::clicked, &MainWindow::ToggleSetupPanel);
  Bind(ui_.startGameButton, &TImage::clicked, &MainWindow::StartGame);
  Bind(ui_.logoutButton, &TImage::clicked, &MainWindow::LogInOrOut);
  Bind(ui_.loginButton, &TImage::clicked, &MainWindow::LogInOrOut);
  Bind(ui_.minimizeButton, &TImage::clicked, &MainWindow::MinimizeByUser);
  Bind(ui_.closeButton, &TImage::clicked, &MainWindow::CloseProgram);
  Bind(ui_.homePageLink, &TImage::clicked, &MainWindow::OpenHomePage);
  Bind(ui_.globalListTab, &TImage::clicked, &MainWindow::SwitchRosterList);
  Bind(ui_.clanListTab, &TImage::clicked, &MainWindow::SwitchRosterList);
  Bind(ui_.newsButton, &TImage::clicked, &MainWindow::FetchNews);
  Bind(ui_.clanList, &QTableWidget::doubleClicked, &MainWindow::LaunchFromClanRow);
  Bind(ui_.globalList, &QTableWidget::doubleClicked, &MainWindow::CopyGlobalRow);
  Bind(ui_.bookmarkList, &QComboBox::activated, &MainWindow::BookmarkChosen);
  Bind(ui_.aboutAction, &QAction::triggered, &MainWindow::ShowAboutPanel);
  Bind(ui_.minimizeAction, &QAction::triggered, &MainWindow::MinimizeByUser);
  Bind(ui_.quitAction, &QAction::triggered, &MainWindow::CloseProgram);

  // Dragging the player name, the title strip, the bookmark caption or the
  // clan list (its rows or its heading) moves the window; a right press on
  // the title strip opens TopPop.
  for (QWidget* w : {static_cast<QWidget*>(ui_.playerCaption), static_cast<QWidget*>(ui_.titleStrip),
                     static_cast<QWidget*>(ui_.bookmarkCaption), static_cast<QWidget*>(ui_.clanList),
                     static_cast<QWidget*>(ui_.clanList->horizontalHeader())})
    ui_.windowDrag->Watch(w);
  ui_.titleStrip->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_.titleStrip, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ui_.titleMenu->popup(ui_.titleStrip->mapToGlobal(at)); });
}

QFrame* MainWindow::SetupPanel() {
  if (ui_.setupPanel) return ui_.setupPanel;
  window_layout::BuildSetupPanel(*this, ui_);
  ShowKeyChoices(keyChoices_);
  ShowSettings(panelValues_);
  settings_controls::WatchEdits(*this, [this] { PanelEdited(); });
  Bind(ui_.set_keybinder_echo, &QComboBox::activated, &MainWindow::EchoKeyChosen);
  Bind(ui_.chooseDirectoryButton, &QToolButton::clicked, &MainWindow::ChooseGameDirectory);
  Bind(ui_.saveSettingsButton, &QPushButton::clicked, &MainWindow::SaveSettingsAndReturn);
  PanelBuilt();
  return ui_.setupPanel;
}

QFrame* MainWindow::AboutPanel() {
  if (ui_.aboutPanel) return ui_.aboutPanel;
  window_layout::BuildAboutPanel(*this, ui_);
  ui_.settingsFileLabel->setText(settingsFile_);
  Bind(ui_.closeAboutButton, &QPushButton::clicked, &MainWindow::CloseAboutPanel);
  PanelBuilt();
  return ui_.aboutPanel;
}

QFrame* MainWindow::NewsPanel() {
  if (ui_.newsPanel) return ui_.newsPanel;
  window_layout::BuildNewsPanel(*this, ui_);
  Bind(ui_.closeNewsButton, &QPushButton::clicked, &MainWindow::CloseNewsPanel);
  PanelBuilt();
  return ui_.newsPanel;
}

void MainWindow::PanelBuilt() {
  if (panelsPlaced_) PlacePanels();
  for (QFrame* panel : {ui_.setupPanel, ui_.aboutPanel, ui_.newsPanel}) {
    if (panel) panel->raise();
  }
  window_layout::SetFocusOrder(ui_);
}

void MainWindow::BuildAllPanels() {
  SetupPanel();
  AboutPanel();
  NewsPanel();
}

void MainWindow::BuildTray() {
  ui_.tray = new TrayIcon(this);
  ui_.tray->setObjectName(QStringLiteral("Tray"));
  Bind(ui_.tray->showWindow, &QAction::triggered, &MainWindow::BringToFront);
  Bind(ui_.tray->login, &QAction::triggered, &MainWindow::LogInOrOut);
  Bind(ui_.tray->quit, &QAction::triggered, &MainWindow::CloseProgram);
  Bind(ui_.tray, &TrayIcon::clicked, &MainWindow::BringToFront);
}
