// The window as built: every control where the design puts it, with its
// hint, pointer and start visibility, and the fixed texts of the setup panel
// and the popup menu.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include "app/session.h"
#include "support/window_fixture.h"

using testing_support::WindowDriver;

namespace {

struct ControlCase {
  const char* name;
  QRect geometry;
  const char* hint;
  bool hand;
  bool visible;
};

// Hints as UTF-8; "-" marks a control without a hint of its own.
const ControlCase kControls[] = {
    {"reloadbackground", {207, 28, 20, 15}, "Aktualisieren", false, true},
    {"Image2", {167, 28, 21, 15}, "Zur Clanwebsite", true, true},
    {"Image3", {207, 28, 20, 15}, "Aktualisieren", true, false},
    {"Image4", {227, 28, 19, 15}, "Programmsetup", true, true},
    {"Image5", {246, 28, 41, 15}, "Tactical Ops starten", true, true},
    {"button_aktiv", {3, 340, 95, 57}, "Abmelden", true, false},
    {"button_inaktiv", {3, 340, 95, 57}, "Anmelden", true, true},
    {"Image6", {262, 6, 12, 12}, "Minimieren", true, true},
    {"Image7", {279, 6, 12, 12}, "Close", true, true},
    {"Image8", {142, 366, 138, 9}, "Zur Website www.quavik.de", true, true},
    {"OwnerLabel", {13, 31, 150, 10}, "", false, true},
    {"Image12", {3, -1, 124, 17}, "", false, true},
    {"clan_active", {204, 346, 38, 9}, "Clanverzeichnis", false, true},
    {"global_inactive", {246, 346, 38, 9}, "Globales Verzeichnis", true, true},
    {"global_active", {246, 346, 38, 9}, "Globales Verzeichnis", false, false},
    {"clan_inactive", {204, 346, 38, 9}, "Clanverzeichnis", true, false},
    {"updateicon", {99, 345, 105, 11}, "", false, false},
    {"Label8", {57, 382, 69, 10}, "", false, true},
    {"Image9", {188, 28, 19, 15}, "Aktuelle News online abrufen", true, true},
    {"GlobalGrid", {11, 48, 275, 281}, "Registrierte Onlinespieler, Doppelklick zum kopieren...", false, false},
    {"grid", {11, 48, 275, 294}, "Registrierte Onlinespieler", false, true},
    {"Setup", {11, 49, 276, 290}, "", false, false},
    {"serverliste", {132, 377, 163, 19}, "Kein Server gewählt...", false, true},
    {"about", {11, 48, 276, 293}, "", false, false},
    {"NewsPanel", {11, 48, 276, 293}, "", false, false},
    {"PassContainer", {9, 9, 255, 80}, "", false, true},
    {"set_todir", {142, 96, 95, 22}, "", false, true},
    {"SpeedButton1", {240, 96, 23, 21}, "Verzeichnis suchen...", true, true},
    {"set_intervall", {142, 121, 122, 22}, "", false, true},
    {"set_clansite", {142, 146, 122, 22}, "", false, true},
    {"set_retailmod", {142, 171, 122, 22}, "", false, true},
    {"set_logkill", {142, 195, 128, 17}, "", false, true},
    {"set_keybinder_echo", {142, 230, 39, 21}, "", false, true},
    {"set_keybinder_teamsay", {182, 230, 40, 21}, "", false, true},
    {"set_keybinder_say", {223, 230, 39, 21}, "", false, true},
    {"set_traymin", {10, 251, 250, 17}, "Minimieren legt Quavik in den Infobereich statt in die Taskleiste", false,
     true},
    {"Button1", {15, 269, 246, 20}, "", false, true},
    {"Button3", {49, 256, 178, 19}, "", false, true},
    {"NewsMemo", {4, 4, 269, 249}, "", false, true},
    {"Button2", {49, 256, 178, 19}, "", false, true},
    {"set_server", {97, 4, 149, 22}, "", false, true},
    {"set_pass", {97, 29, 149, 22}, "", false, true},
    {"set_globalserver", {97, 4, 149, 22}, "", false, true},
    {"set_globalpass", {97, 29, 149, 22}, "", false, true},
};

TEST(MainWindowLayout, EveryControlStandsWhereTheDesignPutsIt) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(c.name);
    QWidget* control = f.Control<QWidget>(c.name);
    EXPECT_EQ(control->geometry(), c.geometry);
    EXPECT_EQ(control->toolTip(), QString::fromUtf8(c.hint));
    EXPECT_EQ(control->cursor().shape() == Qt::PointingHandCursor, c.hand);
    EXPECT_EQ(!control->isHidden(), c.visible);
  }
}

TEST(MainWindowLayout, MembersAreTheNamedControls) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  const std::pair<const QObject*, const char*> members[] = {
      {f.Control<TSkinForm>("SkinForm1"), "SkinForm1"},     {f.Image("Image12"), "Image12"},         {f.ClanList(), "grid"},
      {f.GlobalList(), "GlobalGrid"},   {f.SetupPanel(), "Setup"},             {f.Control<QWidget>("TabSheet1"), "TabSheet1"},
      {f.Control<QWidget>("TabSheet2"), "TabSheet2"},     {f.Edit("set_server"), "set_server"},   {f.Edit("set_globalpass"), "set_globalpass"},
      {f.Check("set_logkill"), "set_logkill"}, {f.NewsText(), "NewsMemo"},       {f.Menu(), "TopPop"},
      {f.MenuItem("berdenQuavik1"), "berdenQuavik1"}, {f.MenuItem("Minimieren1"), "Minimieren1"}, {f.MenuItem("Quavikbeenden1"), "Quavikbeenden1"},
      {&f.session().updateTimer(), "Timer"},             {&f.session().delayTimer(), "DelayTimer"},
  };
  for (const auto& [member, name] : members) {
    ASSERT_NE(member, nullptr) << name;
    EXPECT_EQ(member->objectName(), QString::fromLatin1(name));
  }
}

TEST(MainWindowLayout, WindowIsAFixedFramelessSkin) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  EXPECT_EQ(f.window().windowTitle(), "Quavik RC5");
  EXPECT_EQ(f.window().minimumSize(), QSize(299, 399));
  EXPECT_EQ(f.window().maximumSize(), QSize(299, 399));
  EXPECT_TRUE(f.window().windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(f.Control<TSkinForm>("SkinForm1")->geometry(), QRect(0, 0, 299, 399));
  EXPECT_EQ(f.Control<TSkinForm>("SkinForm1")->pixmap().size(), QSize(299, 399));
  EXPECT_TRUE(f.window().mask().isEmpty());
  EXPECT_FALSE(f.session().LoggedIn());
  EXPECT_TRUE(f.Image("updateicon")->isHidden()) << "no fixed wait running";
}

TEST(MainWindowLayout, RosterListsAreFortyRowsOfThreePlainColumns) {
  testing_support::FormFixture w;
  for (QTableWidget* grid : {w.Driver().ClanList(), w.Driver().GlobalList()}) {
    SCOPED_TRACE(grid->objectName().toStdString());
    EXPECT_EQ(grid->rowCount(), 40);
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeader()->height(), 15);  // the heading row
    EXPECT_EQ(grid->rowHeight(1), 15);
    EXPECT_EQ(grid->rowHeight(39), 15);
    EXPECT_FALSE(grid->showGrid());
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  }
}

TEST(MainWindowLayout, SetupChoicesAndTexts) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  QStringList intervals;
  for (int i = 0; i < f.Choice("set_intervall")->count(); ++i) intervals << f.Choice("set_intervall")->itemText(i);
  EXPECT_EQ(intervals, QStringList({"1 Minute", "2 Minuten", "3 Minuten", "4 Minuten", "5 Minuten", "6 Minuten",
                                    "7 Minuten", "8 Minuten", "9 Minuten", "10 Minuten"}));
  QStringList games;
  for (int i = 0; i < f.Choice("set_retailmod")->count(); ++i) games << f.Choice("set_retailmod")->itemText(i);
  EXPECT_EQ(games, QStringList({"Tactical Ops MOD", "Tactical Ops RETAIL", "Unreal Tournament", "UT 2003", "UT 2004"}));
  for (QComboBox* list : {f.Choice("serverliste"), f.Choice("set_intervall"), f.Choice("set_retailmod"), f.Choice("set_keybinder_echo"),
                          f.Choice("set_keybinder_teamsay"), f.Choice("set_keybinder_say")})
    EXPECT_FALSE(list->isEditable()) << list->objectName().toStdString();
  for (QLineEdit* masked : {f.Edit("set_pass"), f.Edit("set_globalpass")}) EXPECT_EQ(masked->echoMode(), QLineEdit::Password);
  EXPECT_EQ(f.Edit("set_server")->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(f.Control<QTabWidget>("PassContainer")->tabText(0), "Eigener Clanserver");
  EXPECT_EQ(f.Control<QTabWidget>("PassContainer")->tabText(1), "Zentraler Masterserver");
  EXPECT_EQ(f.Control<QTabWidget>("PassContainer")->currentIndex(), 0);
  EXPECT_EQ(f.Button("Button1")->text(), "Konfiguration speichern && zurückkehren");
  EXPECT_EQ(f.Check("set_logkill")->text(), "(Aktivierung empfohlen)");
  EXPECT_EQ(f.Label("OwnerLabel")->text(), "Username: ");
  EXPECT_EQ(f.Label("Label8")->text(), "Server-Bookmarks:");

  const QList<QAction*> items = f.Menu()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Über den Quavik...");
  EXPECT_EQ(items[1]->text(), "Minimieren");
  EXPECT_EQ(items[2]->text(), "Zephanor schliessen");
}

// Text from outside (here the player name from the user INI) shows as typed,
// tags included: every label of the window is plain text.
TEST(MainWindowLayout, LabelsShowMarkupAsTyped) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  w.dir.Write("game/System/TOUser.ini", "[DefaultPlayer]\r\nName=<b>Kim</b> <img src=x>\r\n");
  f.session().ShowPlayerName();
  EXPECT_EQ(f.Label("OwnerLabel")->text(), "Username: <b>Kim</b> <img src=x>");
  f.BuildAllPanels();
  for (QLabel* label : f.window().findChildren<QLabel*>()) {
    if (!label->pixmap().isNull() || label->text().isEmpty()) continue;
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
  }
}

TEST(MainWindowLayout, TabMovesThroughTheSetupPanelInItsOrder) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  f.SetupPanel()->show();
  QApplication::setActiveWindow(&f.window());
  QWidget* const order[] = {f.Choice("set_intervall"), f.Edit("set_clansite"), f.Choice("set_retailmod"), f.Check("set_logkill"), f.Check("set_notify"), f.Check("set_traymin"), f.Button("Button1"),
                            f.Control<QTabWidget>("PassContainer"), f.Edit("set_server"),   f.Edit("set_pass"),      f.Edit("set_todir"),
                            f.Choice("set_keybinder_echo"), f.Choice("set_keybinder_teamsay"), f.Choice("set_keybinder_say")};
  order[0]->setFocus();
  for (QWidget* expected : order) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused == expected || focused == expected->focusProxy())
        << expected->objectName().toStdString() << " expected, " << focused->objectName().toStdString() << " has it";
    QTest::keyClick(focused, Qt::Key_Tab);
  }
}

}  // namespace
