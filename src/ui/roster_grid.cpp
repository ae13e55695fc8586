#include "ui/roster_grid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/ui_style.h"

namespace {

// Paints row 0 on the heading colour, whatever its cells hold.
class HeadingRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (index.row() == 0) {
      painter->fillRect(option.rect, ui_style::kHeading);
      QStyleOptionViewItem heading = option;
      heading.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
      QStyledItemDelegate::paint(painter, heading, index);
      return;
    }
    QStyledItemDelegate::paint(painter, option, index);
  }
};

}  // namespace

void StyleRosterGrid(QTableWidget* grid) {
  grid->setColumnCount(kRosterColumns);
  grid->setRowCount(kRosterRows);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(kRosterRowHeight);
  grid->verticalHeader()->setDefaultSectionSize(kRosterRowHeight);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->setShowGrid(false);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setFrameShape(QFrame::NoFrame);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setWordWrap(false);
  grid->setFont(ui_style::ListFont());
  grid->setItemDelegate(new HeadingRowDelegate(grid));
  grid->setStyleSheet(QStringLiteral("QTableWidget { background: %1; color: %2; border: none; "
                                     "selection-background-color: %3; selection-color: %2; }")
                          .arg(ui_style::Css(ui_style::kListBackground), ui_style::Css(ui_style::kListText),
                               ui_style::Css(ui_style::kHeading.lighter(108))));
  for (int row = 0; row < kRosterRows; ++row)
    for (int column = 0; column < kRosterColumns; ++column) grid->setItem(row, column, new QTableWidgetItem);
}
