// What the two roster lists (grid, GlobalGrid) show: the headings in row 0,
// a roster from row 1, the global list's notice, and a row's text. Rows
// beyond the design's 40 are added as a roster needs them, so every member
// online can be seen; the scroll bar shows exactly while filled rows reach
// below the visible area.
#pragma once
#include <QString>
#include <QTableWidget>
#include <vector>

#include "presence/roster.h"

namespace roster_lists {

void SetCell(QTableWidget* list, int column, int row, const QString& text);
void SetHeadings(QTableWidget* list);
// Empties the cells of rows 1 to `lastRow`.
void ClearRows(QTableWidget* list, int lastRow);
// Shows `entries` from row 1 on, one a row, and fits the rows to them.
// Returns the rows in use, the heading row included.
int ShowEntries(QTableWidget* list, const std::vector<presence::RosterEntry>& entries);
// The notice the global list shows in place of players.
void ShowGlobalNotice(QTableWidget* list);
// The filled cells of `row`, joined by spaces; empty for no row.
QString RowText(const QTableWidget* list, int row);
// The "Online auf:" text of entry row `row` (1 is the first entry); empty
// for the heading or a row beyond the list.
QString RowServer(const QTableWidget* list, int row);

}  // namespace roster_lists
