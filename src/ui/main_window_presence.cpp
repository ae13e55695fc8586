// The two roster lists of the main window: headings, the clan roster as the
// login cycle last read it, clearing, the global list's notice, the switch
// between the lists, and the fixed wait with the update indicator.
#include "platform/waits.h"
#include "presence/roster.h"
#include "ui/main_window.h"
#include "ui/roster_grid.h"

namespace {

const QString kGlobalNotice = QStringLiteral("Visit www.quavik.de/global");

// Rows beyond the design's 40 are added as the roster needs them, so every
// member who is online can be seen; the scroll bar shows once they don't fit.
void SetRosterCell(QTableWidget* list, int column, int row, const QString& text) {
  if (row >= list->rowCount()) {
    const int first = list->rowCount();
    list->setRowCount(row + 1);
    for (int r = first; r <= row; ++r) {
      list->setRowHeight(r, kRosterRowHeight);
      for (int c = 0; c < kRosterColumns; ++c) {
        auto* item = new QTableWidgetItem();
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        list->setItem(r, c, item);
      }
    }
  }
  if (QTableWidgetItem* item = list->item(row, column)) {
    item->setText(text);
  } else {
    list->setItem(row, column, new QTableWidgetItem(text));
  }
}

void ClearRosterRows(QTableWidget* list, int lastRow) {
  for (int row = 1; row <= lastRow && row < list->rowCount(); ++row)
    for (int column = 0; column < kRosterColumns; ++column) SetRosterCell(list, column, row, QString());
}

// Back to the design size once a long roster has gone, and a scroll bar
// exactly while filled rows reach below the visible area.
void FitRosterRows(QTableWidget* list, int usedRows) {
  list->setRowCount(std::max(kRosterRows, usedRows));
  const int visibleRows = list->height() / kRosterRowHeight;
  list->setVerticalScrollBarPolicy(usedRows > visibleRows ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

}  // namespace

void TForm1::ShowClanRoster(const presence::ClanRoster& roster) {
  ClearClanGrid();
  int row = 1;
  for (const presence::RosterEntry& entry : roster.entries) {
    SetRosterCell(grid, 0, row, entry.name);
    SetRosterCell(grid, 1, row, entry.onlineOn);
    SetRosterCell(grid, 2, row, entry.TimestampCell());
    ++row;
  }
  RosterSummary = roster.summary;
  RosterRowCount = row;
  FitRosterRows(grid, row);
  ClanRosterShown(roster.entries);
}

void TForm1::ClearRefusedName() { SetRosterCell(grid, 0, 1, QString()); }

void TForm1::ClearClanGrid() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Leere Clangrid"));
  ClearRosterRows(grid, RosterRowCount);
  RosterRowCount = 0;
}

void TForm1::ClearGlobalGrid() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Leere Globalgrid"));
  ClearRosterRows(GlobalGrid, RosterRowCount);
  RosterRowCount = 0;
  SetRosterCell(GlobalGrid, 0, 1, kGlobalNotice);
  SetRosterCell(GlobalGrid, 0, 2, QStringLiteral("for the complete list"));
  SetRosterCell(GlobalGrid, 0, 3, QStringLiteral("of tactical ops player..."));
}

void TForm1::InitGridHeadings() {
  for (QTableWidget* list : {grid, GlobalGrid}) {
    SetRosterCell(list, 0, 0, QStringLiteral("Spielername:"));
    SetRosterCell(list, 1, 0, QStringLiteral("Online auf:"));
    SetRosterCell(list, 2, 0, QStringLiteral("Timestamp:"));
    list->setColumnWidth(0, 114);
    list->setColumnWidth(1, 75);
    list->setColumnWidth(2, 86);
  }
}

void TForm1::clan_activeClick() {
  ClanListShown = !ClanListShown;
  grid->setVisible(ClanListShown);
  GlobalGrid->setVisible(!ClanListShown);
  for (TImage* image : {clan_active, clan_inactive, global_active, global_inactive})
    image->setVisible(image->isHidden());
}

void TForm1::UpdateVisDelay(int ms) {
  activityLog.Start(QStringLiteral("Importiere in Clangrid: Delay - UpdateVisOn"));
  updateicon->show();
  DelayTimer->SetInterval(services.waits.Scaled(ms));
  DelayTimer->SetEnabled(true);
  // Sleeps in the event loop until the timer has fired: the window stays
  // responsive and nothing spins.
  platform::WaitProcessingEvents([this] { return DelayTimer->Enabled(); });
  activityLog.Start(QStringLiteral("Importiere in Clangrid: Delay - UpdateVisOff"));
  updateicon->hide();
}

void TForm1::DelayTimerTimer() { DelayTimer->SetEnabled(false); }
