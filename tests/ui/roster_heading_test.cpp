// The heading row of the roster lists, driven through the real widgets: it
// stays in view however far the list is scrolled, and neither the mouse nor
// the keyboard can select it, make it current or start a game from it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include "app/session.h"
#include "support/window_fixture.h"
#include "painted_colour.h"
#include "ui/roster_grid.h"
#include "skin/ui_style.h"

using testing_support::WindowDriver;

namespace {

presence::ClanRoster Roster(int members) {
  presence::ClanRoster roster;
  for (int i = 1; i <= members; ++i)
    roster.entries.push_back({QStringLiteral("Spieler%1").arg(i), QStringLiteral("192.168.100.%1:7777").arg(i),
                              QStringLiteral("10.12.2026"), QStringLiteral("17:33:57")});
  return roster;
}

// The colour painted most often in the strip `top`..`top + height` of `widget`.
QColor MostCommonColour(QWidget* widget, int top, int height) {
  const QImage image = widget->grab().toImage();
  return ui_tests::MostCommonColour(image, QRect(0, top, image.width(), height));
}

QPoint CellCentre(QTableWidget* grid, int row, int column) {
  return grid->viewport()->mapTo(grid, grid->visualItemRect(grid->item(row, column)).center());
}

// Where the heading of `column` shows: the top row of the list.
QPoint HeadingCentre(QTableWidget* grid, int column) {
  return {grid->columnViewportPosition(column) + grid->columnWidth(column) / 2, kRosterRowHeight / 2};
}

// The widget that a click at `at` (in the coordinates of `grid`) reaches,
// and the point in its coordinates.
std::pair<QWidget*, QPoint> Under(QTableWidget* grid, QPoint at) {
  QWidget* target = grid->childAt(at);
  if (!target) target = grid;
  return {target, target->mapFrom(grid, at)};
}

void Click(QTableWidget* grid, QPoint at) {
  const auto [target, local] = Under(grid, at);
  QTest::mouseClick(target, Qt::LeftButton, {}, local);
}

// Press, release, and the second press that the system reports as a
// double click.
void DoubleClick(QTableWidget* grid, QPoint at) {
  const auto [target, local] = Under(grid, at);
  QTest::mouseClick(target, Qt::LeftButton, {}, local);
  QTest::mouseDClick(target, Qt::LeftButton, {}, local);
  QTest::mouseRelease(target, Qt::LeftButton, {}, local);
}

struct ShownForm : testing_support::FormFixture {
  ShownForm() {
    form->show();
    QApplication::setActiveWindow(form.get());
  }
};

TEST(RosterHeading, DoubleClickOnTheHeadingDoesNothing) {
  ShownForm w;
  WindowDriver& f = w.Driver();
  f.ClanList()->item(1, 1)->setText("Offline");
  for (int column = 0; column < kRosterColumns; ++column) {
    SCOPED_TRACE(column);
    DoubleClick(f.ClanList(), HeadingCentre(f.ClanList(), column));
    EXPECT_TRUE(w.dialogs.boxes.empty());
    EXPECT_TRUE(w.shell.calls.empty());
    EXPECT_NE(f.ClanList()->currentRow(), 0);
  }
  // The same double click on an entry does reach the launcher, which
  // refuses "Offline" with its message.
  DoubleClick(f.ClanList(), CellCentre(f.ClanList(), 1, 1));
  EXPECT_EQ(f.ClanList()->currentRow(), 1);
  EXPECT_EQ(w.dialogs.boxes.size(), 1u);

  // Nor does a heading made current by the program start anything.
  w.dialogs.boxes.clear();
  f.ClanList()->setCurrentCell(0, 1);
  f.DoubleClickCurrentClanRow();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_TRUE(w.shell.calls.empty());
}

TEST(RosterHeading, NeitherKeysNorClicksReachTheHeading) {
  ShownForm w;
  for (QTableWidget* grid : {w.Driver().ClanList(), w.Driver().GlobalList()}) {
    SCOPED_TRACE(grid->objectName().toStdString());
    grid->show();
    grid->setFocus();
    Click(grid, CellCentre(grid, 2, 0));
    ASSERT_EQ(grid->currentRow(), 2);
    for (const auto& [key, modifiers] : std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_Up, {}}, {Qt::Key_Up, {}}, {Qt::Key_PageUp, {}}, {Qt::Key_Home, Qt::ControlModifier},
             {Qt::Key_Up, Qt::ShiftModifier}}) {
      QTest::keyClick(grid, key, modifiers);
      EXPECT_EQ(grid->currentRow(), 1) << QKeySequence(key | modifiers).toString().toStdString();
    }
    Click(grid, HeadingCentre(grid, 0));
    EXPECT_EQ(grid->currentRow(), 1);
    grid->selectAll();
    for (int column = 0; column < kRosterColumns; ++column) {
      EXPECT_FALSE(grid->item(0, column)->isSelected());
      EXPECT_FALSE(grid->item(0, column)->flags() & Qt::ItemIsSelectable);
    }
    // The heading texts stay in the cells of row 0, where the program reads them.
    EXPECT_FALSE(grid->item(0, 0)->text().isEmpty());
  }
}

TEST(RosterHeading, StaysInViewWhenAFullListIsScrolledToItsEnd) {
  ShownForm w;
  WindowDriver& f = w.Driver();
  f.ShowClanRoster(Roster(kRosterRows - 1));
  ASSERT_TRUE(f.ClanList()->verticalScrollBar()->isVisible());
  f.ClanList()->setFocus();
  Click(f.ClanList(), CellCentre(f.ClanList(), 1, 0));
  QTest::keyClick(f.ClanList(), Qt::Key_End, Qt::ControlModifier);
  ASSERT_EQ(f.ClanList()->currentRow(), kRosterRows - 1);
  ASSERT_EQ(f.ClanList()->verticalScrollBar()->value(), f.ClanList()->verticalScrollBar()->maximum());
  ASSERT_GT(f.ClanList()->verticalScrollBar()->maximum(), 0);

  // The top of the list is still the heading, on its colour, above the last
  // entries; the entries fill the rest.
  EXPECT_EQ(MostCommonColour(f.ClanList(), 0, kRosterRowHeight), ui_style::kHeading);
  EXPECT_EQ(MostCommonColour(f.ClanList(), kRosterRowHeight * 3, kRosterRowHeight), ui_style::kListBackground);
  EXPECT_GT(f.ClanList()->rowAt(0), 1);
}

TEST(RosterHeading, AFullTimestampFitsItsColumnWithAndWithoutScrollBar) {
  ShownForm w;
  WindowDriver& f = w.Driver();
  const QString timestamp = Roster(1).entries[0].TimestampCell();
  for (int members : {3, kRosterRows - 1}) {
    SCOPED_TRACE(members);
    f.ShowClanRoster(Roster(members));
    QApplication::processEvents();
    EXPECT_EQ(f.ClanList()->verticalScrollBar()->isVisible(), members > 18);
    EXPECT_EQ(f.ClanList()->columnWidth(1), 75);
    EXPECT_EQ(f.ClanList()->columnWidth(2), 86);
    if (members <= 18) {
      EXPECT_EQ(f.ClanList()->columnWidth(0), 114);
    }
    // The whole column is in view, and the text fits it with the cell's margins.
    EXPECT_LE(f.ClanList()->columnViewportPosition(2) + f.ClanList()->columnWidth(2), f.ClanList()->viewport()->width());
    EXPECT_LE(f.ClanList()->fontMetrics().horizontalAdvance(timestamp) + 6, f.ClanList()->columnWidth(2));
    EXPECT_EQ(f.ClanList()->horizontalHeader()->height(), kRosterRowHeight);
  }
}

}  // namespace
