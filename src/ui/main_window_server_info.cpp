// The live server info in the main window: the tooltips of the roster rows
// and bookmarks, the rows' popup menu and its "Server-Info..." panel.
#include <QAbstractItemView>
#include <QScreen>

#include "app/session.h"
#include "serverinfo/query_target.h"
#include "serverinfo/server_info_cache.h"
#include "ui/main_window.h"
#include "ui/roster_lists.h"
#include "ui/server_hover.h"
#include "ui/server_info_panel.h"
#include "ui/window_placement.h"

namespace {

// A tool window goes beside the main window when the screen has room. Before
// it is first shown the window manager has not framed it yet: its frame is
// allowed for.
void PlaceBeside(QWidget& panel, const QWidget& main) {
  const QScreen* screen = main.screen();
  if (!screen) return;
  const QSize frameAllowance(8, 30);
  if (const auto at = window_placement::BesideWindow(main.frameGeometry(), panel.size() + frameAllowance,
                                                     screen->availableGeometry()))
    panel.move(*at);
}

// The row under `at` of a roster list's viewport, the heading never.
ServerHover::Spot RowSpot(const QTableWidget* list, const QPoint& at) {
  const int row = list->rowAt(at.y());
  if (row < 1) return {};
  const QRect area(0, list->rowViewportPosition(row), list->viewport()->width(), list->rowHeight(row));
  return {roster_lists::RowServer(list, row), area, {}};
}

}  // namespace

int MainWindow::GameIndex() const { return session_->settings().gameIndex; }

void MainWindow::BuildServerInfo() {
  serverInfo_ = std::make_unique<serverinfo::ServerInfoCache>();
  SetServerInfoIdle(!isVisible());  // until the window is first shown
  hover_ = std::make_unique<ServerHover>(*serverInfo_, [this] { return GameIndex(); });
  for (QTableWidget* list : {ui_.clanList, ui_.globalList}) {
    hover_->Watch(list->viewport(), [list](const QPoint& at) { return RowSpot(list, at); });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, list](const QPoint& at) { Guarded([&] { RowMenuRequested(list, at); }); });
  }
  // The chosen bookmark under its hint, and each entry of the open list.
  QComboBox* bookmarks = ui_.bookmarkList;
  hover_->Watch(bookmarks, [this, bookmarks](const QPoint&) {
    return ServerHover::Spot{session_->BookmarkServer(bookmarks->currentIndex()), bookmarks->rect(),
                             bookmarks->toolTip()};
  });
  QAbstractItemView* entries = bookmarks->view();
  hover_->Watch(entries->viewport(), [this, entries](const QPoint& at) {
    const QModelIndex entry = entries->indexAt(at);
    if (!entry.isValid()) return ServerHover::Spot{};
    return ServerHover::Spot{session_->BookmarkServer(entry.row()), entries->visualRect(entry), {}};
  });
  Bind(ui_.serverInfoAction, &QAction::triggered, &MainWindow::ShowServerInfo);
}

// The menu opens on any entry row; its entry works where the row names a
// server address.
void MainWindow::RowMenuRequested(QTableWidget* list, const QPoint& at) {
  const int row = list->rowAt(at.y());
  if (row < 1 || roster_lists::RowText(list, row).isEmpty()) return;
  rowMenuServer_ = roster_lists::RowServer(list, row);
  ui_.serverInfoAction->setEnabled(serverinfo::QueryTargetFor(rowMenuServer_, GameIndex()).has_value());
  ui_.rowMenu->popup(list->viewport()->mapToGlobal(at));
}

void MainWindow::ShowServerInfo() {
  const std::optional<serverinfo::QueryTarget> target = serverinfo::QueryTargetFor(rowMenuServer_, GameIndex());
  if (!target) return;
  if (!infoPanel_) {
    infoPanel_ = std::make_unique<ServerInfoPanel>(*serverInfo_, this);
    connect(infoPanel_.get(), &ServerInfoPanel::JoinRequested, this,
            [this](const QString& serverText) { Guarded([&] { InfoPanelJoin(serverText); }); });
  }
  infoPanel_->ShowServer(rowMenuServer_, *target);
  if (!infoPanel_->isVisible()) PlaceBeside(*infoPanel_, *this);
  infoPanel_->show();
  infoPanel_->raise();
  infoPanel_->activateWindow();
}

// "Beitreten" starts the game as a double click on a clan row does.
void MainWindow::InfoPanelJoin(const QString& serverText) { session_->LaunchFromRoster(serverText); }
