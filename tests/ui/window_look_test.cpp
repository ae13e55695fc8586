// What the window looks like with the fonts a Linux system has: captions
// that fit beside their controls, edits that show the start of their text,
// and the bookmark list drawn in the list background.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QFontInfo>
#include <QImage>
#include <QTest>

#include "app/session.h"
#include "support/window_fixture.h"
#include "painted_colour.h"
#include "skin/ui_style.h"

using testing_support::WindowDriver;

namespace {

using ui_tests::MostCommonColour;

TEST(WindowLook, ArialFacesResolveToAFaceOfArialWidths) {
  const QStringList arialWidths{"Arial", "Liberation Sans", "Arimo"};
  for (const QFont& font : {ui_style::Arial(11), ui_style::SansSerif(11)})
    EXPECT_TRUE(arialWidths.contains(QFontInfo(font).family())) << QFontInfo(font).family().toStdString();
}

TEST(WindowLook, SetupCaptionsFitBesideTheirControls) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  // Each caption of the label column ends a few pixels before its control.
  const std::pair<const char*, QWidget*> rows[] = {
      {"Label1", f.Edit("set_server")},        {"Label6", f.Edit("set_pass")},         {"Label9", f.Edit("set_globalserver")},
      {"Label10", f.Edit("set_globalpass")},   {"Label3", f.Edit("set_todir")},        {"Label2", f.Choice("set_intervall")},
      {"Label5", f.Edit("set_clansite")},      {"Label7", f.Choice("set_retailmod")},    {"Label4", f.Check("set_logkill")},
      {"Label11", f.Choice("set_keybinder_echo")}, {"Label12", f.window().findChild<QWidget*>("Label21")},
      {"Label21", f.window().findChild<QWidget*>("Label22")},
  };
  for (const auto& [name, control] : rows) {
    SCOPED_TRACE(name);
    auto* label = f.window().findChild<QLabel*>(QString::fromLatin1(name));
    ASSERT_NE(label, nullptr);
    ASSERT_NE(control, nullptr);
    const int textRight = label->x() + label->fontMetrics().horizontalAdvance(label->text());
    EXPECT_LE(textRight + 3, control->x()) << label->text().toStdString();
  }
  // Check boxes and the save button show their whole caption.
  for (QWidget* control : {static_cast<QWidget*>(f.Check("set_logkill")), static_cast<QWidget*>(f.Check("set_notify")),
                           static_cast<QWidget*>(f.Button("Button1"))}) {
    EXPECT_LE(control->sizeHint().width(), control->width()) << control->objectName().toStdString();
  }
}

TEST(WindowLook, EditsShowTheStartOfTheTextTheProgramPutsIn) {
  testing_support::FormFixture w;
  WindowDriver& f = w.Driver();
  const std::string longUrl = "http://clan-server.example.org/cgi-bin/quavik/script-with-a-long-name.php";
  w.dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=" + longUrl + "\r\nPass=pw\r\nClansite=" + longUrl +
                                        "\r\nGlobal-Script-URL=" + longUrl + "\r\nDirectory=" +
                                        w.dir.File("game/").toStdString() + "\r\n");
  f.session().ReadSettings();
  for (QLineEdit* edit : f.SetupPanel()->findChildren<QLineEdit*>()) {
    if (edit->text().isEmpty()) continue;
    SCOPED_TRACE(edit->objectName().toStdString());
    EXPECT_EQ(edit->cursorPosition(), 0);
  }
  // A directory the program completes shows from its start too.
  f.Edit("set_todir")->setText(w.dir.File("game"));
  f.session().SaveSettings();
  EXPECT_TRUE(f.Edit("set_todir")->text().endsWith('/'));
  EXPECT_EQ(f.Edit("set_todir")->cursorPosition(), 0);

  // What the user types stays where it was typed.
  f.window().show();
  f.SetupPanel()->show();
  QApplication::setActiveWindow(&f.window());
  f.Edit("set_clansite")->setFocus();
  f.Edit("set_clansite")->end(false);
  QTest::keyClicks(f.Edit("set_clansite"), "/forum");
  EXPECT_EQ(f.Edit("set_clansite")->text(), QString::fromStdString(longUrl) + "/forum");
  EXPECT_EQ(f.Edit("set_clansite")->cursorPosition(), f.Edit("set_clansite")->text().size());
}

TEST(WindowLook, BookmarkListIsDrawnInTheListBackground) {
  testing_support::FormFixture w;
  QComboBox* list = w.Driver().Choice("serverliste");
  list->addItems({"Clan Server", "Training", "Public Fun"});
  list->setCurrentIndex(0);
  // The field left of the arrow.
  const QImage field = list->grab().toImage();
  EXPECT_EQ(MostCommonColour(field, QRect(2, 2, list->width() - 30, list->height() - 4)),
            ui_style::kListBackground);
  // An item of the open list that is not the chosen one.
  list->showPopup();
  QAbstractItemView* view = list->view();
  ASSERT_TRUE(view->viewport()->isVisible());
  const QImage open = view->viewport()->grab().toImage();
  const QRect item = view->visualRect(view->model()->index(2, 0));
  list->hidePopup();
  ASSERT_FALSE(item.isEmpty());
  EXPECT_EQ(MostCommonColour(open, item), ui_style::kListBackground);
}

}  // namespace
