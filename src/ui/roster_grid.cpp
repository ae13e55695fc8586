#include "ui/roster_grid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "skin/ui_style.h"

namespace {

// Paints row 0 on the heading colour, whatever its cells hold. No cell
// carries a focus frame: the selection shows the chosen entry.
class HeadingRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem cell = option;
    cell.state &= ~QStyle::State_HasFocus;
    if (index.row() == 0) {
      painter->fillRect(option.rect, ui_style::kHeading);
      cell.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
    }
    QStyledItemDelegate::paint(painter, cell, index);
  }
};

// The strip above the rows that shows row 0: each section is painted as the
// cell of row 0 in its column would be, so the heading texts stay in the
// cells and the strip never scrolls. Its sections are neither clickable nor
// resizable.
class HeadingStrip : public QHeaderView {
 public:
  explicit HeadingStrip(QTableView* table) : QHeaderView(Qt::Horizontal, table), table_(table) {
    setSectionsClickable(false);
    setSectionsMovable(false);
    setHighlightSections(false);
    setFixedHeight(kRosterRowHeight);
  }

  void setModel(QAbstractItemModel* model) override {
    QHeaderView::setModel(model);
    if (!model) return;
    // A heading text that changes shows at once.
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
      if (topLeft.row() == 0) viewport()->update();
    });
  }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int section) const override {
    QStyleOptionViewItem cell;
    cell.initFrom(table_);
    cell.rect = rect;
    cell.font = table_->font();
    cell.widget = table_;
    cell.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    table_->itemDelegate()->paint(painter, cell, model()->index(0, section));
  }

 private:
  QTableView* table_;
};

}  // namespace

void StyleRosterGrid(QTableWidget* grid) {
  grid->setColumnCount(kRosterColumns);
  grid->setRowCount(kRosterRows);
  grid->setHorizontalHeader(new HeadingStrip(grid));
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(kRosterRowHeight);
  grid->verticalHeader()->setDefaultSectionSize(kRosterRowHeight);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // The name column gives up the room a scroll bar takes; without one the
  // columns have the widths they are given.
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  grid->setShowGrid(false);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setFrameShape(QFrame::NoFrame);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setWordWrap(false);
  grid->setFont(ui_style::ListFont());
  grid->setItemDelegate(new HeadingRowDelegate(grid));
  ui_style::PaintListColours(grid, ui_style::kListText, true);
  QPalette colours = grid->palette();
  colours.setColor(QPalette::Highlight, ui_style::kHeading.lighter(108));
  colours.setColor(QPalette::HighlightedText, ui_style::kListText);
  grid->setPalette(colours);
  for (int row = 0; row < kRosterRows; ++row)
    for (int column = 0; column < kRosterColumns; ++column) {
      auto* item = new QTableWidgetItem;
      if (row == 0) item->setFlags(Qt::ItemIsEnabled);
      grid->setItem(row, column, item);
    }
  // Row 0 is shown by the strip above the rows only, so no click or key
  // can reach it.
  grid->setRowHidden(0, true);
}
