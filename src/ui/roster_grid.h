// The look of a roster list: a plain 3 x 40 grid of text cells whose first
// row is the heading row (an ordinary row, drawn on the heading colour), rows
// 15 pixels high, without headers, grid lines, scroll bars or border, in the
// list text colour on the list background. Cells are read-only.
#pragma once
#include <QTableWidget>

constexpr int kRosterColumns = 3;
constexpr int kRosterRows = 40;
constexpr int kRosterRowHeight = 15;

// Makes `grid` such a list and fills every cell with an empty item.
void StyleRosterGrid(QTableWidget* grid);
