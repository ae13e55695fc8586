// The two roster lists and the server bookmark list.
#include "ui/main_window.h"
#include "ui/roster_grid.h"
#include "ui/ui_style.h"

void TForm1::BuildLists() {
  GlobalGrid = new QTableWidget(this);
  GlobalGrid->setObjectName(QStringLiteral("GlobalGrid"));
  GlobalGrid->setGeometry(11, 48, 275, 281);
  GlobalGrid->setToolTip(QStringLiteral("Registrierte Onlinespieler, Doppelklick zum kopieren..."));
  StyleRosterGrid(GlobalGrid);
  GlobalGrid->hide();

  grid = new QTableWidget(this);
  grid->setObjectName(QStringLiteral("grid"));
  grid->setGeometry(11, 48, 275, 294);
  grid->setToolTip(QStringLiteral("Registrierte Onlinespieler"));
  StyleRosterGrid(grid);
}

void TForm1::BuildBookmarkList() {
  serverliste = new QComboBox(this);
  serverliste->setObjectName(QStringLiteral("serverliste"));
  serverliste->setGeometry(132, 377, 163, 19);
  serverliste->setToolTip(QStringLiteral("Kein Server gewählt..."));
  serverliste->setEditable(false);
  serverliste->setFont(ui_style::SmallFonts(9));
  ui_style::PaintChoiceList(serverliste, Qt::black);
}
