#include "ui/main_window.h"

#include <QCloseEvent>
#include <QHeaderView>

#include "app/session.h"
#include "platform/os/guarded_application.h"
#include "ui/artwork.h"
#include "serverinfo/server_info_cache.h"
#include "ui/directory_chooser.h"
#include "ui/program_style.h"
#include "ui/server_hover.h"
#include "ui/server_info_panel.h"
#include "ui/info_panels.h"
#include "ui/setup_panel.h"
#include "ui/ui_style.h"
#include "ui/window_layout.h"

TForm1::TForm1(app::Services& services, QWidget* parent) : QWidget(parent), services_(services) {
  ProgramStyle::Install();
  BuildWindow();
  session_ = std::make_unique<app::Session>(services_, *this);
  BindHandlers();
  BuildTray();
  BuildServerInfo();
  Guarded([this] { session_->Start(); });
}

TForm1::~TForm1() = default;

void TForm1::Guarded(const std::function<void()>& handler) {
  platform::RunGuarded(services_.dialogs, handler);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Ending the application closes its windows: that close is the end of a
  // shutdown already done, not a new one.
  if (!session_->Terminating()) Guarded([this] { session_->FormClose(); });
  event->accept();
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  SetServerInfoIdle(isMinimized());
}

void TForm1::SetServerInfoIdle(bool idle) {
  if (serverInfo_) serverInfo_->SetIdle(idle);  // not before it is built
}

void TForm1::hideEvent(QHideEvent* event) {
  SetServerInfoIdle(true);
  QWidget::hideEvent(event);
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) SetServerInfoIdle(isMinimized() || !isVisible());
  QWidget::changeEvent(event);
}

void TForm1::BuildWindow() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quavik RC5"));
  setWindowIcon(artwork::WindowIcon());
  setFixedSize(299, 399);
  setFont(ui_style::SansSerif(11));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, palette().color(QPalette::Button));
  setPalette(pal);

  ui_.SkinForm1 = new TSkinForm(this);
  ui_.SkinForm1->SetPicture(artwork::Skin());
  ui_.SkinForm1->LoadMask2(QByteArray(4, '\0'));

  ui_.windowDrag = new WindowDragFilter(this);
  ui_.windowDrag->setObjectName(QStringLiteral("windowDrag"));
  window_layout::BuildControls(*this, ui_);
}

void TForm1::BindHandlers() {
  Bind(ui_.Image2, &TImage::clicked, &TForm1::BitBtn2Click);
  Bind(ui_.Image3, &TImage::clicked, &TForm1::reloadClick);
  Bind(ui_.Image4, &TImage::clicked, &TForm1::BitBtn1Click);
  Bind(ui_.Image5, &TImage::clicked, &TForm1::Image5Click);
  Bind(ui_.button_aktiv, &TImage::clicked, &TForm1::button_aktivClick);
  Bind(ui_.button_inaktiv, &TImage::clicked, &TForm1::button_inaktivClick);
  Bind(ui_.Image6, &TImage::clicked, &TForm1::Image6Click);
  Bind(ui_.Image7, &TImage::clicked, &TForm1::Image7Click);
  Bind(ui_.Image8, &TImage::clicked, &TForm1::Image8Click);
  Bind(ui_.global_inactive, &TImage::clicked, &TForm1::clan_activeClick);
  Bind(ui_.clan_inactive, &TImage::clicked, &TForm1::clan_activeClick);
  Bind(ui_.Image9, &TImage::clicked, &TForm1::Image9Click);
  Bind(ui_.grid, &QTableWidget::doubleClicked, &TForm1::gridDblClick);
  Bind(ui_.GlobalGrid, &QTableWidget::doubleClicked, &TForm1::GlobalGridDblClick);
  Bind(ui_.serverliste, &QComboBox::activated, &TForm1::serverlisteChange);
  Bind(ui_.berdenQuavik1, &QAction::triggered, &TForm1::berdenQuavik1Click);
  Bind(ui_.Minimieren1, &QAction::triggered, &TForm1::Minimieren1Click);
  Bind(ui_.Quavikbeenden1, &QAction::triggered, &TForm1::Quavikbeenden1Click);

  // Dragging the player name, the title strip, the bookmark caption or the
  // clan list (its rows or its heading) moves the window; a right press on
  // the title strip opens TopPop.
  for (QWidget* w : {static_cast<QWidget*>(ui_.OwnerLabel), static_cast<QWidget*>(ui_.Image12),
                     static_cast<QWidget*>(ui_.Label8), static_cast<QWidget*>(ui_.grid),
                     static_cast<QWidget*>(ui_.grid->horizontalHeader())})
    ui_.windowDrag->Watch(w);
  ui_.Image12->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_.Image12, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ui_.TopPop->popup(ui_.Image12->mapToGlobal(at)); });
}

QFrame* TForm1::SetupPanel() {
  if (ui_.Setup) return ui_.Setup;
  window_layout::BuildSetupPanel(*this, ui_);
  ShowKeyChoices(keyChoices_);
  ShowSettings(panelValues_);
  Bind(ui_.set_keybinder_echo, &QComboBox::activated, &TForm1::set_keybinder_echoChange);
  Bind(ui_.SpeedButton1, &QToolButton::clicked, &TForm1::SpeedButton1Click);
  Bind(ui_.Button1, &QPushButton::clicked, &TForm1::Button1Click);
  PanelBuilt();
  return ui_.Setup;
}

QFrame* TForm1::AboutPanel() {
  if (ui_.about) return ui_.about;
  window_layout::BuildAboutPanel(*this, ui_);
  ui_.SettingsFileLabel->setText(settingsFile_);
  Bind(ui_.Button3, &QPushButton::clicked, &TForm1::Button3Click);
  PanelBuilt();
  return ui_.about;
}

QFrame* TForm1::NewsPanel() {
  if (ui_.NewsPanel) return ui_.NewsPanel;
  window_layout::BuildNewsPanel(*this, ui_);
  Bind(ui_.Button2, &QPushButton::clicked, &TForm1::Button2Click);
  PanelBuilt();
  return ui_.NewsPanel;
}

void TForm1::PanelBuilt() {
  if (panelsPlaced_) PlacePanels();
  for (QFrame* panel : {ui_.Setup, ui_.about, ui_.NewsPanel}) {
    if (panel) panel->raise();
  }
  window_layout::SetFocusOrder(ui_);
}

void TForm1::BuildAllPanels() {
  SetupPanel();
  AboutPanel();
  NewsPanel();
}

void TForm1::BuildTray() {
  ui_.Tray = new TrayIcon(this);
  ui_.Tray->setObjectName(QStringLiteral("Tray"));
  Bind(ui_.Tray->showWindow, &QAction::triggered, &TForm1::TrayShowClick);
  Bind(ui_.Tray->login, &QAction::triggered, &TForm1::TrayLoginClick);
  Bind(ui_.Tray->quit, &QAction::triggered, &TForm1::TrayQuitClick);
  Bind(ui_.Tray, &TrayIcon::clicked, &TForm1::TrayShowClick);
}
