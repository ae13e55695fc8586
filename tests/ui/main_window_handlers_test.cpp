// The window's own handlers, driven by clicks on their controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <vector>

#include "support/window_fixture.h"

using platform::Buttons;

using testing_support::WindowDriver;

namespace {

void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(2, 2)); }

// Index of `panel` among the window's children, back to front.
qsizetype StackIndex(const WindowDriver& f, QWidget* panel) { return f.window().children().indexOf(panel); }

TEST(PanelHandlers, SetupButtonTogglesThePanelAndSavesNothing) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  const std::string before = w.SettingsFile();
  Click(f.Image("Image4"));
  EXPECT_TRUE(f.SetupPanel()->isVisible());
  Click(f.Image("Image4"));
  EXPECT_FALSE(f.SetupPanel()->isVisible());
  EXPECT_EQ(w.SettingsFile(), before);
  EXPECT_TRUE(w.dialogs.boxes.empty());
}

TEST(PanelHandlers, AboutOpensOverTheSetupPanelAndClosesAlone) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  f.ChooseMenuItem("Über den Quavik...");
  Click(f.Image("Image4"));
  EXPECT_TRUE(f.Panel("about")->isVisible());
  EXPECT_TRUE(f.SetupPanel()->isVisible());
  EXPECT_GT(StackIndex(f, f.Panel("about")), StackIndex(f, f.SetupPanel()));
  EXPECT_GT(StackIndex(f, f.Panel("NewsPanel")), StackIndex(f, f.Panel("about")));
  QWidget* shown = f.window().childAt(100, 200);
  EXPECT_TRUE(shown == f.Panel("about") || f.Panel("about")->isAncestorOf(shown));
  Click(f.Button("Button3"));
  EXPECT_FALSE(f.Panel("about")->isVisible());
  EXPECT_TRUE(f.SetupPanel()->isVisible());
}

TEST(PanelHandlers, NewsButtonHidesTheNewsPanelKeepingItsText) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  f.Panel("NewsPanel")->show();
  f.NewsText()->setPlainText("Neuigkeiten");
  Click(f.Button("Button2"));
  EXPECT_FALSE(f.Panel("NewsPanel")->isVisible());
  EXPECT_EQ(f.NewsText()->toPlainText(), "Neuigkeiten");
}

TEST(PanelHandlers, PanelsAreBuiltWhenFirstShownAndTheSettingsInUseDoNotDependOnIt) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  for (const char* panel : {"Setup", "about", "NewsPanel"}) {
    EXPECT_EQ(f.window().findChild<QWidget*>(panel), nullptr) << panel << " built at start";
  }
  // The settings in use must not depend on whether the panel was built:
  // what the session reads while it is not (a list index outside its list
  // is none) is what a built panel hands over once the user edits it.
  app::Settings base = f.session().settings();
  base.xpos = 123;  // not on the panel: an edit keeps the session's
  std::vector<app::Settings> shown(5, base);
  shown[1].scriptUrl = "http://clan.example/q.php";
  shown[1].pass = "geheim";
  shown[1].logSizeCheck = !base.logSizeCheck;
  shown[1].trayMinimize = !base.trayMinimize;
  shown[2].updateInterval = 15;
  shown[2].gameIndex = -4;
  shown[3].gameIndex = 99;
  shown[3].keyEcho = 500;
  shown[3].keySay = 1;
  shown[4].keyTeamsay = -2;
  shown[4].directory = "/spiele/ut/";
  const QString settingsFile = w.dir.File("program/quavik.ini");
  std::vector<app::Settings> unbuilt;
  for (const app::Settings& values : shown) {
    values.Save(settingsFile);
    f.session().ReadSettings();
    unbuilt.push_back(f.session().settings());
  }
  EXPECT_EQ(f.window().findChild<QWidget*>("Setup"), nullptr);
  f.BuildAllPanels();
  for (size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(i);
    f.view().ShowSettings(shown[i]);
    // An edit that changes nothing hands the panel's values over.
    f.Check("set_notify")->toggle();
    f.Check("set_notify")->toggle();
    const app::Settings built = f.session().settings();
    EXPECT_TRUE(unbuilt[i] == built);
    EXPECT_EQ(unbuilt[i].updateInterval, built.updateInterval);
    EXPECT_EQ(unbuilt[i].gameIndex, built.gameIndex);
    EXPECT_EQ(unbuilt[i].keyEcho, built.keyEcho);
    EXPECT_EQ(unbuilt[i].scriptUrl, built.scriptUrl);
    EXPECT_EQ(built.xpos, 123);
  }
}

TEST(SaveButton, SavesConfirmsAndClosesThePanel) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  f.SetupPanel()->show();
  f.Edit("set_clansite")->setText("http://clan.example/");
  Click(f.Button("Button1"));
  ASSERT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.dialogs.boxes[0].text, "Die Konfiguration wurde gespeichert...");
  EXPECT_EQ(w.dialogs.boxes[0].buttons, Buttons::YesOnly);
  EXPECT_NE(w.SettingsFile().find("Clansite=http://clan.example/"), std::string::npos);
  EXPECT_FALSE(f.SetupPanel()->isVisible());
}

TEST(SaveButton, AFailedSaveIsReportedAndThePanelStaysOpen) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  f.SetupPanel()->show();
  // A directory where the settings file belongs cannot be written.
  QFile::remove(w.dir.File("program/quavik.ini"));
  QDir().mkpath(w.dir.File("program/quavik.ini"));
  Click(f.Button("Button1"));
  ASSERT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.dialogs.boxes[0].kind, platform::BoxKind::Error);
  EXPECT_TRUE(w.dialogs.boxes[0].text.startsWith("Unable to write to ")) << w.dialogs.boxes[0].text.toStdString();
  EXPECT_TRUE(f.SetupPanel()->isVisible());
}

struct LinkCase {
  const char* name;
  const char* clansite;
  const char* image;
  const char* expectedOpen;  // nullptr: nothing is opened
  const char* expectedBox;   // nullptr: no box
};

const LinkCase kLinks[] = {
    {"clan site not set", "", "Image2", nullptr,
     "Mit dieser Funktion könnten Sie direkt zu Ihrer Clansite springen. Legen Sie bitte vorher deren URL in "
     "den Programmeinstellungen fest..."},
    {"clan site with scheme", "http://clan.example/", "Image2", "http://clan.example/", nullptr},
    {"clan site without scheme, passed unchanged", "www.clan.example", "Image2", "www.clan.example",
     nullptr},
    {"home page", "", "Image8", "http://www.quavik.de/", nullptr},
};

TEST(LinkHandlers, OpenTheSiteOrExplainWhyNot) {
  for (const LinkCase& c : kLinks) {
    SCOPED_TRACE(c.name);
    testing_support::FormFixture w;
    WindowDriver& f = w.Driver();
    f.window().show();
    f.Edit("set_clansite")->setText(QString::fromUtf8(c.clansite));
    Click(f.Image(c.image));
    if (c.expectedOpen) {
      ASSERT_EQ(w.shell.calls.size(), 1u);
      EXPECT_EQ(w.shell.calls[0].kind, "open");
      EXPECT_EQ(w.shell.calls[0].target, QString::fromUtf8(c.expectedOpen));
    } else {
      EXPECT_TRUE(w.shell.calls.empty());
    }
    if (c.expectedBox) {
      ASSERT_EQ(w.dialogs.boxes.size(), 1u);
      EXPECT_EQ(w.dialogs.boxes[0].text, QString::fromUtf8(c.expectedBox));
      EXPECT_EQ(w.dialogs.boxes[0].buttons, Buttons::YesOnly);
    } else {
      EXPECT_TRUE(w.dialogs.boxes.empty());
    }
  }
}

TEST(CloseHandlers, CloseImageAndMenuItemBothEndTheProgram) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  Click(f.Image("Image7"));
  EXPECT_EQ(w.terminations, 1);
  f.ChooseMenuItem("Zephanor schliessen");
  EXPECT_EQ(w.terminations, 2);
}

// Right presses: only the title strip has a menu.
TEST(PopupMenu, OpensOnTheTitleStripOnly) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  f.window().show();
  for (QWidget* elsewhere : {static_cast<QWidget*>(f.Label("OwnerLabel")), static_cast<QWidget*>(f.Label("Label8")),
                             f.ClanList()->viewport(), static_cast<QWidget*>(f.Control<TSkinForm>("SkinForm1"))}) {
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(2, 2), elsewhere->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(elsewhere, &press);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << elsewhere->objectName().toStdString();
  }
  QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(5, 5), f.Image("Image12")->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(f.Image("Image12"), &press);
  EXPECT_EQ(QApplication::activePopupWidget(), f.Menu());
  f.Menu()->close();
}

}  // namespace
