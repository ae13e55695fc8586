#include "ui/roster_lists.h"

#include <algorithm>

#include "ui/roster_grid.h"

namespace roster_lists {
namespace {

// Back to the design size once a long roster has gone.
void FitRows(QTableWidget* list, int usedRows) {
  list->setRowCount(std::max(kRosterRows, usedRows));
  const int visibleRows = list->height() / kRosterRowHeight;
  list->setVerticalScrollBarPolicy(usedRows > visibleRows ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

}  // namespace

void SetCell(QTableWidget* list, int column, int row, const QString& text) {
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

void SetHeadings(QTableWidget* list) {
  SetCell(list, 0, 0, QStringLiteral("Spielername:"));
  SetCell(list, 1, 0, QStringLiteral("Online auf:"));
  SetCell(list, 2, 0, QStringLiteral("Timestamp:"));
  list->setColumnWidth(0, 114);
  list->setColumnWidth(1, 75);
  list->setColumnWidth(2, 86);
}

void ClearRows(QTableWidget* list, int lastRow) {
  for (int row = 1; row <= lastRow && row < list->rowCount(); ++row)
    for (int column = 0; column < kRosterColumns; ++column) SetCell(list, column, row, QString());
}

int ShowEntries(QTableWidget* list, const std::vector<presence::RosterEntry>& entries) {
  int row = 1;
  for (const presence::RosterEntry& entry : entries) {
    SetCell(list, 0, row, entry.name);
    SetCell(list, 1, row, entry.onlineOn);
    SetCell(list, 2, row, entry.TimestampCell());
    ++row;
  }
  FitRows(list, row);
  return row;
}

void ShowGlobalNotice(QTableWidget* list) {
  SetCell(list, 0, 1, QStringLiteral("Visit www.quavik.de/global"));
  SetCell(list, 0, 2, QStringLiteral("for the complete list"));
  SetCell(list, 0, 3, QStringLiteral("of tactical ops player..."));
}

QString RowText(const QTableWidget* list, int row) {
  if (row < 0) return {};
  QStringList cells;
  for (int column = 0; column < list->columnCount(); ++column) {
    const QTableWidgetItem* cell = list->item(row, column);
    if (cell && !cell->text().isEmpty()) cells.append(cell->text());
  }
  return cells.join(QLatin1Char(' '));
}

QString RowServer(const QTableWidget* list, int row) {
  const QTableWidgetItem* cell = row >= 1 ? list->item(row, 1) : nullptr;
  return cell ? cell->text() : QString();
}

}  // namespace roster_lists
