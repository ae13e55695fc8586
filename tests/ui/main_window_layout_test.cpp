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
  TForm1& f = *w.form;
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(c.name);
    auto* control = f.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), c.geometry);
    EXPECT_EQ(control->toolTip(), QString::fromUtf8(c.hint));
    EXPECT_EQ(control->cursor().shape() == Qt::PointingHandCursor, c.hand);
    EXPECT_EQ(!control->isHidden(), c.visible);
  }
}

TEST(MainWindowLayout, MembersAreTheNamedControls) {
  testing_support::FormFixture w;
  TForm1& f = *w.form;
  const std::pair<QObject*, const char*> members[] = {
      {f.SkinForm1, "SkinForm1"},     {f.Image12, "Image12"},         {f.grid, "grid"},
      {f.GlobalGrid, "GlobalGrid"},   {f.Setup, "Setup"},             {f.TabSheet1, "TabSheet1"},
      {f.TabSheet2, "TabSheet2"},     {f.set_server, "set_server"},   {f.set_globalpass, "set_globalpass"},
      {f.set_logkill, "set_logkill"}, {f.NewsMemo, "NewsMemo"},       {f.TopPop, "TopPop"},
      {f.berdenQuavik1, "berdenQuavik1"}, {f.Minimieren1, "Minimieren1"}, {f.Quavikbeenden1, "Quavikbeenden1"},
      {&f.session().updateTimer(), "Timer"},             {&f.session().delayTimer(), "DelayTimer"},
  };
  for (const auto& [member, name] : members) {
    ASSERT_NE(member, nullptr) << name;
    EXPECT_EQ(member->objectName(), QString::fromLatin1(name));
  }
}

TEST(MainWindowLayout, WindowIsAFixedFramelessSkin) {
  testing_support::FormFixture w;
  TForm1& f = *w.form;
  EXPECT_EQ(f.windowTitle(), "Quavik RC5");
  EXPECT_EQ(f.minimumSize(), QSize(299, 399));
  EXPECT_EQ(f.maximumSize(), QSize(299, 399));
  EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(f.SkinForm1->geometry(), QRect(0, 0, 299, 399));
  EXPECT_EQ(f.SkinForm1->pixmap().size(), QSize(299, 399));
  EXPECT_TRUE(f.mask().isEmpty());
  EXPECT_FALSE(f.session().updateTimer().Enabled());
  EXPECT_FALSE(f.session().delayTimer().Enabled());
}

TEST(MainWindowLayout, RosterListsAreFortyRowsOfThreePlainColumns) {
  testing_support::FormFixture w;
  for (QTableWidget* grid : {w.form->grid, w.form->GlobalGrid}) {
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
  TForm1& f = *w.form;
  QStringList intervals;
  for (int i = 0; i < f.set_intervall->count(); ++i) intervals << f.set_intervall->itemText(i);
  EXPECT_EQ(intervals, QStringList({"1 Minute", "2 Minuten", "3 Minuten", "4 Minuten", "5 Minuten", "6 Minuten",
                                    "7 Minuten", "8 Minuten", "9 Minuten", "10 Minuten"}));
  QStringList games;
  for (int i = 0; i < f.set_retailmod->count(); ++i) games << f.set_retailmod->itemText(i);
  EXPECT_EQ(games, QStringList({"Tactical Ops MOD", "Tactical Ops RETAIL", "Unreal Tournament", "UT 2003", "UT 2004"}));
  for (QComboBox* list : {f.serverliste, f.set_intervall, f.set_retailmod, f.set_keybinder_echo,
                          f.set_keybinder_teamsay, f.set_keybinder_say})
    EXPECT_FALSE(list->isEditable()) << list->objectName().toStdString();
  for (QLineEdit* masked : {f.set_pass, f.set_globalpass}) EXPECT_EQ(masked->echoMode(), QLineEdit::Password);
  EXPECT_EQ(f.set_server->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(f.PassContainer->tabText(0), "Eigener Clanserver");
  EXPECT_EQ(f.PassContainer->tabText(1), "Zentraler Masterserver");
  EXPECT_EQ(f.PassContainer->currentIndex(), 0);
  EXPECT_EQ(f.Button1->text(), "Konfiguration speichern && zurückkehren");
  EXPECT_EQ(f.set_logkill->text(), "(Aktivierung empfohlen)");
  EXPECT_EQ(f.OwnerLabel->text(), "Username: ");
  EXPECT_EQ(f.Label8->text(), "Server-Bookmarks:");

  const QList<QAction*> items = f.TopPop->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Über den Quavik...");
  EXPECT_EQ(items[1]->text(), "Minimieren");
  EXPECT_EQ(items[2]->text(), "Zephanor schliessen");
}

// Text from outside (here the player name from the user INI) shows as typed,
// tags included: every label of the window is plain text.
TEST(MainWindowLayout, LabelsShowMarkupAsTyped) {
  testing_support::FormFixture w;
  TForm1& f = *w.form;
  w.dir.Write("game/System/TOUser.ini", "[DefaultPlayer]\r\nName=<b>Kim</b> <img src=x>\r\n");
  f.session().ShowPlayerName();
  EXPECT_EQ(f.OwnerLabel->text(), "Username: <b>Kim</b> <img src=x>");
  for (QLabel* label : f.findChildren<QLabel*>()) {
    if (!label->pixmap().isNull() || label->text().isEmpty()) continue;
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
  }
}

TEST(MainWindowLayout, TabMovesThroughTheSetupPanelInItsOrder) {
  testing_support::FormFixture w;
  TForm1& f = *w.form;
  f.show();
  f.Setup->show();
  QApplication::setActiveWindow(&f);
  QWidget* const order[] = {f.set_intervall, f.set_clansite, f.set_retailmod, f.set_logkill, f.set_notify, f.set_traymin, f.Button1,
                            f.PassContainer, f.set_server,   f.set_pass,      f.set_todir,
                            f.set_keybinder_echo, f.set_keybinder_teamsay, f.set_keybinder_say};
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
