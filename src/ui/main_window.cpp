#include "ui/main_window.h"

#include <QCloseEvent>
#include <QHeaderView>

#include "app/session.h"
#include "platform/guarded_application.h"
#include "ui/artwork.h"
#include "ui/directory_chooser.h"
#include "ui/ui_style.h"
#include "ui/window_layout.h"

TForm1::TForm1(app::Services& services, QWidget* parent) : QWidget(parent), services(services) {
  BuildWindow();
  session_ = std::make_unique<app::Session>(services, *this);
  BindHandlers();
  BuildTray();
  Guarded([this] { session_->Start(); });
}

TForm1::~TForm1() = default;

void TForm1::Guarded(const std::function<void()>& handler) {
  platform::RunGuarded(services.dialogs, handler);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Ending the application closes its windows: that close is the end of a
  // shutdown already done, not a new one.
  if (!session_->Terminating()) Guarded([this] { session_->FormClose(); });
  event->accept();
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

  SkinForm1 = new TSkinForm(this);
  SkinForm1->SetPicture(artwork::Skin());
  SkinForm1->LoadMask2(QByteArray(4, '\0'));

  windowDrag = new WindowDragFilter(this);
  window_layout::BuildControls(*this);
}

void TForm1::BindHandlers() {
  Bind(Image2, &TImage::clicked, &TForm1::BitBtn2Click);
  Bind(Image3, &TImage::clicked, &TForm1::reloadClick);
  Bind(Image4, &TImage::clicked, &TForm1::BitBtn1Click);
  Bind(Image5, &TImage::clicked, &TForm1::Image5Click);
  Bind(button_aktiv, &TImage::clicked, &TForm1::button_aktivClick);
  Bind(button_inaktiv, &TImage::clicked, &TForm1::button_inaktivClick);
  Bind(Image6, &TImage::clicked, &TForm1::Image6Click);
  Bind(Image7, &TImage::clicked, &TForm1::Image7Click);
  Bind(Image8, &TImage::clicked, &TForm1::Image8Click);
  Bind(global_inactive, &TImage::clicked, &TForm1::clan_activeClick);
  Bind(clan_inactive, &TImage::clicked, &TForm1::clan_activeClick);
  Bind(Image9, &TImage::clicked, &TForm1::Image9Click);
  Bind(grid, &QTableWidget::doubleClicked, &TForm1::gridDblClick);
  Bind(GlobalGrid, &QTableWidget::doubleClicked, &TForm1::GlobalGridDblClick);
  Bind(serverliste, &QComboBox::activated, &TForm1::serverlisteChange);
  Bind(set_keybinder_echo, &QComboBox::activated, &TForm1::set_keybinder_echoChange);
  Bind(SpeedButton1, &QToolButton::clicked, &TForm1::SpeedButton1Click);
  Bind(Button1, &QPushButton::clicked, &TForm1::Button1Click);
  Bind(Button2, &QPushButton::clicked, &TForm1::Button2Click);
  Bind(Button3, &QPushButton::clicked, &TForm1::Button3Click);
  Bind(berdenQuavik1, &QAction::triggered, &TForm1::berdenQuavik1Click);
  Bind(Minimieren1, &QAction::triggered, &TForm1::Minimieren1Click);
  Bind(Quavikbeenden1, &QAction::triggered, &TForm1::Quavikbeenden1Click);

  // Dragging the player name, the title strip, the bookmark caption or the
  // clan list (its rows or its heading) moves the window; a right press on
  // the title strip opens TopPop.
  for (QWidget* w : {static_cast<QWidget*>(OwnerLabel), static_cast<QWidget*>(Image12),
                     static_cast<QWidget*>(Label8), static_cast<QWidget*>(grid),
                     static_cast<QWidget*>(grid->horizontalHeader())})
    windowDrag->Watch(w);
  Image12->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Image12, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { TopPop->popup(Image12->mapToGlobal(at)); });
}

void TForm1::BuildTray() {
  Tray = new TrayIcon(this);
  Tray->setObjectName(QStringLiteral("Tray"));
  Bind(Tray->showWindow, &QAction::triggered, &TForm1::TrayShowClick);
  Bind(Tray->login, &QAction::triggered, &TForm1::TrayLoginClick);
  Bind(Tray->quit, &QAction::triggered, &TForm1::TrayQuitClick);
  Bind(Tray, &TrayIcon::clicked, &TForm1::TrayShowClick);
}
