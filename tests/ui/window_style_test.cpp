// The windows' look comes from the program's style and the widgets'
// palettes, never from style sheets: every widget uses the application's
// style, password fields show '*', check box captions stand 3 pixels off
// their box, and the lists, headings and tabs are painted in their colours.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QHeaderView>
#include <QImage>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "painted_colour.h"
#include "serverinfo/server_info_cache.h"
#include "support/fake_drives.h"
#include "support/window_fixture.h"
#include "ui/directory_chooser.h"
#include "ui/program_style.h"
#include "ui/server_info_panel.h"
#include "skin/ui_style.h"

using testing_support::WindowDriver;

namespace {

using ui_tests::MostCommonColour;

// The server info panel with `players` rows of players.
struct InfoPanel {
  explicit InfoPanel(int players = 0) {
    panel.playerTable->setRowCount(players);
    for (int row = 0; row < players; ++row)
      panel.playerTable->setItem(row, 0, new QTableWidgetItem(QStringLiteral("Spieler%1").arg(row)));
  }
  serverinfo::ServerInfoCache cache{nullptr, [] { return qint64(0); }};
  ServerInfoPanel panel{cache};
};

struct Chooser {
  Chooser() {
    drives->list = {{"C:", "Disk", dir.File("c/")}};
    DirTreeServices services;
    services.drives = drives;
    services.dialogs = &dialogs;
    chooser = std::make_unique<DirectoryChooser>(&target, services);
  }
  testing_support::TempDir dir;
  std::shared_ptr<testing_support::FakeDrives> drives = std::make_shared<testing_support::FakeDrives>();
  testing_support::RecordingDialogs dialogs;
  QLineEdit target;
  std::unique_ptr<DirectoryChooser> chooser;
};

// `colour` as an 8-bit image holds it.
QColor Painted(const QColor& colour) { return QColor(colour.rgb()); }

bool Contains(const QImage& image, const QRect& rect, const QColor& colour) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.pixel(x, y) == colour.rgb()) return true;
  return false;
}

TEST(WindowStyle, NoWidgetCarriesAStyleSheetAndAllUseTheProgramsStyle) {
  testing_support::FormFixture w;
  w.Driver().BuildAllPanels();
  InfoPanel info;
  Chooser chooser;
  ASSERT_TRUE(qobject_cast<ProgramStyle*>(QApplication::style()));
  for (QWidget* window : {&w.Driver().window(), static_cast<QWidget*>(&info.panel),
                          static_cast<QWidget*>(chooser.chooser.get())}) {
    SCOPED_TRACE(window->objectName().toStdString());
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets << window;
    ASSERT_GT(widgets.size(), 5);
    for (QWidget* widget : widgets) {
      SCOPED_TRACE(widget->objectName().toStdString() + " " + widget->metaObject()->className());
      EXPECT_TRUE(widget->styleSheet().isEmpty());
      // The folder menu's own style only makes its pictures larger.
      if (widget->objectName() != QLatin1String("DirTreeMenu")) {
        EXPECT_EQ(widget->style(), QApplication::style());
      }
    }
  }
  EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

TEST(WindowStyle, PasswordFieldsShowAStarForEachCharacter) {
  testing_support::FormFixture w;
  for (const char* name : {"set_pass", "set_globalpass"}) {
    QLineEdit* edit = w.Driver().Edit(name);
    edit->setText(QStringLiteral("geheim"));
    EXPECT_EQ(edit->displayText(), QStringLiteral("******")) << name;
  }
}

TEST(WindowStyle, CheckBoxCaptionsStandThreePixelsOffTheirBox) {
  testing_support::FormFixture w;
  const QList<QCheckBox*> boxes = w.Driver().SetupPanel()->findChildren<QCheckBox*>();
  ASSERT_EQ(boxes.size(), 3);
  for (QCheckBox* box : boxes) {
    SCOPED_TRACE(box->objectName().toStdString());
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    const QRect caption = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    EXPECT_EQ(caption.left() - indicator.right() - 1, 3);
  }
}

TEST(WindowStyle, RosterRowsArePaintedInTheListColours) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  presence::ClanRoster roster;
  for (int i = 1; i <= 3; ++i)
    roster.entries.push_back({QStringLiteral("Spieler%1").arg(i), QStringLiteral("127.0.0.1:7777"),
                              QStringLiteral("10.12.2026"), QStringLiteral("17:33:57")});
  f.ShowClanRoster(roster);
  QTableWidget* list = f.ClanList();
  list->setCurrentCell(2, 0);
  const QImage painted = list->viewport()->grab().toImage();
  const QRect plain = list->visualRect(list->model()->index(1, 0));
  const QRect chosen = list->visualRect(list->model()->index(2, 0));
  EXPECT_EQ(MostCommonColour(painted, plain), ui_style::kListBackground);
  EXPECT_TRUE(Contains(painted, plain, ui_style::kListText));
  EXPECT_EQ(MostCommonColour(painted, chosen), Painted(ui_style::kHeading.lighter(108)));
  EXPECT_TRUE(Contains(painted, chosen, ui_style::kListText));
}

TEST(WindowStyle, BookmarkListIsFramedInTheListTextColour) {
  testing_support::FormFixture w;
  QComboBox* list = w.Driver().Choice("serverliste");
  list->addItems({"Clan Server", "Training"});
  list->setCurrentIndex(0);
  const QImage field = list->grab().toImage();
  for (const QPoint& edge : {QPoint(0, field.height() / 2), QPoint(field.width() / 2, 0),
                             QPoint(field.width() - 1, field.height() / 2), QPoint(40, field.height() - 1)})
    EXPECT_EQ(field.pixelColor(edge), ui_style::kListText) << edge.x() << "," << edge.y();
  // The arrow sits on a raised button at the right, shaded from the field's colour.
  const QRect button(field.width() - 17, 1, 16, field.height() - 2);
  EXPECT_TRUE(Contains(field, button, ui_style::kListBackground.lighter(115)));
  EXPECT_TRUE(Contains(field, button, ui_style::kListBackground.darker(150)));

  list->showPopup();
  QAbstractItemView* view = list->view();
  ASSERT_TRUE(view->isVisible());
  const QImage open = view->grab().toImage();
  list->hidePopup();
  EXPECT_EQ(open.pixelColor(0, open.height() / 2), ui_style::kListText);
  EXPECT_EQ(open.pixelColor(open.width() / 2, open.height() - 1), ui_style::kListText);
}

TEST(WindowStyle, PlayerHeadingsArePaintedOnTheHeadingColour) {
  InfoPanel info(2);
  QHeaderView* headings = info.panel.playerTable->horizontalHeader();
  const QImage painted = headings->grab().toImage();
  EXPECT_EQ(MostCommonColour(painted, painted.rect()), ui_style::kHeading);
  EXPECT_TRUE(Contains(painted, painted.rect(), ui_style::kListText));
}

TEST(WindowStyle, SetupTabsKeepTheWindowGreyOnTheBluePanel) {
  testing_support::FormFixture w;
  auto* tabs = w.Driver().Control<QTabWidget>("PassContainer");
  QTabBar* bar = tabs->tabBar();
  const QImage painted = bar->grab().toImage();
  const QColor grey = QApplication::palette().color(QPalette::Window);
  ASSERT_NE(grey, ui_style::kListBackground);
  EXPECT_EQ(MostCommonColour(painted, bar->tabRect(0).adjusted(2, 2, -2, -2)), grey);
  EXPECT_EQ(MostCommonColour(painted, bar->tabRect(1).adjusted(2, 4, -2, -2)), grey);
}

}  // namespace
