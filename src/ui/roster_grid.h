// The look of a roster list: a grid of text cells, 3 columns by 40 rows,
// rows 15 pixels high, without grid lines, border or scroll bar (the roster
// turns one on when it outgrows the list), in the list text colour on the
// list background. Cells are read-only.
//
// Row 0 is the heading row. Its cells hold the heading texts like any other
// cell, but it is shown only in a fixed strip above the rows, on the heading
// colour: it never scrolls away and can't be selected, made current or
// double-clicked. Rows 1 and on hold the entries.
#pragma once
#include <QTableWidget>

constexpr int kRosterColumns = 3;
constexpr int kRosterRows = 40;
constexpr int kRosterRowHeight = 15;

// Makes `grid` such a list and fills every cell with an empty item.
void StyleRosterGrid(QTableWidget* grid);
