// The setup panel: the home of the settings while the program runs.
#include <iterator>

#include "game/game_profile.h"
#include "ui/artwork.h"
#include "ui/main_window.h"
#include "ui/panel_builders.h"
#include "ui/ui_style.h"

using namespace panel_builders;

namespace {

QStringList IntervalItems() {
  QStringList items{QStringLiteral("1 Minute")};
  for (int minutes = 2; minutes <= 10; ++minutes) items << QStringLiteral("%1 Minuten").arg(minutes);
  return items;
}

QStringList GameItems() {
  QStringList items;
  for (int index = 0; index < game::GameCount(); ++index) items << game::GameName(index);
  return items;
}

// One tab of the address pages: the script address and its password.
QWidget* AddressPage(QTabWidget* tabs, const char* name, const QString& caption, const char* labelNames[2],
                     const char* editNames[2], QLineEdit** address, QLineEdit** password) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(name));
  const QFont font = ui_style::Arial(11);
  Label(page, labelNames[0], {3, 8}, QStringLiteral("Quavik Server:"), font);
  *address = Edit(page, editNames[0], {97, 4, 149, 22});
  Label(page, labelNames[1], {3, 33}, QStringLiteral("Serverkennwort:"), font);
  *password = Edit(page, editNames[1], {97, 29, 149, 22}, true);
  tabs->addTab(page, caption);
  return page;
}

}  // namespace

void TForm1::BuildSetupPanel() {
  Setup = Panel(this, "Setup", {11, 49, 276, 290});
  const QFont font = ui_style::Arial(11);

  PassContainer = new QTabWidget(Setup);
  PassContainer->setObjectName(QStringLiteral("PassContainer"));
  PassContainer->setGeometry(9, 9, 255, 80);
  PassContainer->setUsesScrollButtons(false);
  PassContainer->setFont(ui_style::SansSerif(11));
  PassContainer->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 2px 5px; }"));
  const char* ownLabels[] = {"Label1", "Label6"};
  const char* ownEdits[] = {"set_server", "set_pass"};
  TabSheet1 = AddressPage(PassContainer, "TabSheet1", QStringLiteral("Eigener Clanserver"), ownLabels, ownEdits,
                          &set_server, &set_pass);
  const char* masterLabels[] = {"Label9", "Label10"};
  const char* masterEdits[] = {"set_globalserver", "set_globalpass"};
  TabSheet2 = AddressPage(PassContainer, "TabSheet2", QStringLiteral("Zentraler Masterserver"), masterLabels,
                          masterEdits, &set_globalserver, &set_globalpass);
  PassContainer->setCurrentIndex(0);

  Label(Setup, "Label3", {10, 101}, QStringLiteral("UT/TO:AoT Verzeichnis:"), font);
  set_todir = Edit(Setup, "set_todir", {142, 96, 95, 22});

  SpeedButton1 = new QToolButton(Setup);
  SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  SpeedButton1->setGeometry(240, 96, 23, 21);
  SpeedButton1->setAutoRaise(true);
  SpeedButton1->setFocusPolicy(Qt::NoFocus);
  SpeedButton1->setIcon(QIcon(artwork::FolderGlyph()));
  SpeedButton1->setIconSize({16, 14});
  SpeedButton1->setCursor(Qt::PointingHandCursor);
  SpeedButton1->setToolTip(QStringLiteral("Verzeichnis suchen..."));

  Label(Setup, "Label2", {10, 125}, QStringLiteral("Updateintervall:"), font);
  set_intervall = ChoiceList(Setup, "set_intervall", {142, 121, 122, 22}, IntervalItems());

  Label(Setup, "Label5", {10, 150}, QStringLiteral("URL der Clanwebsite:"), font);
  set_clansite = Edit(Setup, "set_clansite", {142, 146, 122, 22});

  Label(Setup, "Label7", {10, 175}, QStringLiteral("Verwendetes Spiel:"), font);
  set_retailmod = ChoiceList(Setup, "set_retailmod", {142, 171, 122, 22}, GameItems());

  Label(Setup, "Label4", {10, 196}, QStringLiteral("Logfile autom. kürzen:"), font);
  set_logkill = new QCheckBox(QStringLiteral("(Aktivierung empfohlen)"), Setup);
  set_logkill->setObjectName(QStringLiteral("set_logkill"));
  set_logkill->setGeometry(142, 195, 128, 17);
  // A pixel smaller than the labels and six pixels wider than designed, so
  // the whole caption stays in view with the fonts at hand.
  set_logkill->setFont(ui_style::Arial(10));
  set_logkill->setStyleSheet(QStringLiteral("QCheckBox { spacing: 3px; }"));

  // Its own line in the label column, between the log check and the key
  // choices.
  set_notify = new QCheckBox(QStringLiteral("Online-Hinweise"), Setup);
  set_notify->setObjectName(QStringLiteral("set_notify"));
  set_notify->setGeometry(10, 213, 130, 17);
  set_notify->setFont(font);
  set_notify->setStyleSheet(QStringLiteral("QCheckBox { spacing: 3px; }"));
  set_notify->setToolTip(
      QStringLiteral("Ein Hinweis auf dem Desktop, sobald ein Clanmitglied online kommt oder den Server wechselt"));

  const QFont columns = ui_style::SmallFonts(9);
  Label(Setup, "Label12", {150, 215}, QStringLiteral("Echo"), columns);
  Label(Setup, "Label21", {181, 215}, QStringLiteral("Teamsay"), columns);
  Label(Setup, "Label22", {234, 215}, QStringLiteral("Say"), columns);
  Label(Setup, "Label11", {9, 235}, QStringLiteral("Keybinder für Userlisten:"), font);
  set_keybinder_echo = ChoiceList(Setup, "set_keybinder_echo", {142, 230, 39, 21});
  set_keybinder_teamsay = ChoiceList(Setup, "set_keybinder_teamsay", {182, 230, 40, 21});
  set_keybinder_say = ChoiceList(Setup, "set_keybinder_say", {223, 230, 39, 21});

  Button1 = Button(Setup, "Button1", {15, 260, 246, 20}, QStringLiteral("Konfiguration speichern && zurückkehren"),
                   ui_style::SmallFonts(9, true));
}

void TForm1::SetWindowFocusOrder() {
  QWidget* const order[] = {grid,          set_intervall,      set_clansite,          set_retailmod,
                            set_logkill,   set_notify, Button1,            PassContainer,         set_server,
                            set_pass,      set_globalserver,   set_globalpass,        set_todir,
                            set_keybinder_echo, set_keybinder_teamsay, set_keybinder_say, serverliste,
                            GlobalGrid,    Button3,            NewsMemo,              Button2};
  for (std::size_t i = 1; i < std::size(order); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);
}
