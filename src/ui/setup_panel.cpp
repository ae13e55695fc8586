#include "ui/setup_panel.h"

#include "app/settings.h"
#include "game/game_profile.h"
#include "skin/artwork.h"
#include "ui/main_window_controls.h"
#include "ui/panel_builders.h"
#include "skin/ui_style.h"

using namespace panel_builders;

namespace {

QStringList IntervalItems() {
  QStringList items{QStringLiteral("1 Minute")};
  for (int minutes = 2; minutes <= app::kIntervalChoices; ++minutes) items << QStringLiteral("%1 Minuten").arg(minutes);
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

namespace window_layout {

void BuildSetupPanel(QWidget& window, MainWindowControls& f) {
  f.setupPanel = Panel(&window, "Setup", {11, 49, 276, 290});
  const QFont font = ui_style::Arial(11);

  f.scriptTabs = new QTabWidget(f.setupPanel);
  f.scriptTabs->setObjectName(QStringLiteral("PassContainer"));
  f.scriptTabs->setGeometry(9, 9, 255, 80);
  f.scriptTabs->setUsesScrollButtons(false);
  f.scriptTabs->setFont(ui_style::SansSerif(11));
  // The tabs and their fields in the application's colours: classic tabs
  // in the window grey over white pages.
  ui_style::PaintStandardColours(f.scriptTabs);
  const char* ownLabels[] = {"Label1", "Label6"};
  const char* ownEdits[] = {"set_server", "set_pass"};
  f.clanScriptPage = AddressPage(f.scriptTabs, "TabSheet1", QStringLiteral("Eigener Clanserver"), ownLabels, ownEdits,
                          &f.set_server, &f.set_pass);
  const char* masterLabels[] = {"Label9", "Label10"};
  const char* masterEdits[] = {"set_globalserver", "set_globalpass"};
  f.masterScriptPage = AddressPage(f.scriptTabs, "TabSheet2", QStringLiteral("Zentraler Masterserver"), masterLabels,
                          masterEdits, &f.set_globalserver, &f.set_globalpass);
  f.scriptTabs->setCurrentIndex(0);

  Label(f.setupPanel, "Label3", {10, 101}, QStringLiteral("UT/TO:AoT Verzeichnis:"), font);
  f.set_todir = Edit(f.setupPanel, "set_todir", {142, 96, 95, 22});

  f.chooseDirectoryButton = new QToolButton(f.setupPanel);
  f.chooseDirectoryButton->setObjectName(QStringLiteral("SpeedButton1"));
  f.chooseDirectoryButton->setGeometry(240, 96, 23, 21);
  f.chooseDirectoryButton->setAutoRaise(true);
  f.chooseDirectoryButton->setFocusPolicy(Qt::NoFocus);
  f.chooseDirectoryButton->setIcon(QIcon(artwork::FolderGlyph()));
  f.chooseDirectoryButton->setIconSize({16, 14});
  f.chooseDirectoryButton->setCursor(Qt::PointingHandCursor);
  f.chooseDirectoryButton->setToolTip(QStringLiteral("Verzeichnis suchen..."));

  Label(f.setupPanel, "Label2", {10, 125}, QStringLiteral("Updateintervall:"), font);
  f.set_intervall = ChoiceList(f.setupPanel, "set_intervall", {142, 121, 122, 22}, IntervalItems());

  Label(f.setupPanel, "Label5", {10, 150}, QStringLiteral("URL der Clanwebsite:"), font);
  f.set_clansite = Edit(f.setupPanel, "set_clansite", {142, 146, 122, 22});

  Label(f.setupPanel, "Label7", {10, 175}, QStringLiteral("Verwendetes Spiel:"), font);
  f.set_retailmod = ChoiceList(f.setupPanel, "set_retailmod", {142, 171, 122, 22}, GameItems());

  Label(f.setupPanel, "Label4", {10, 196}, QStringLiteral("Logfile autom. kürzen:"), font);
  // A pixel smaller than the labels and six pixels wider than designed, so
  // the whole caption stays in view with the fonts at hand.
  f.set_logkill = CheckBox(f.setupPanel, "set_logkill", {142, 195, 128, 17}, QStringLiteral("(Aktivierung empfohlen)"),
                           ui_style::Arial(10));

  // Its own line in the label column, between the log check and the key
  // choices.
  f.set_notify = CheckBox(f.setupPanel, "set_notify", {10, 213, 130, 17}, QStringLiteral("Online-Hinweise"), font);
  f.set_notify->setToolTip(
      QStringLiteral("Ein Hinweis auf dem Desktop, sobald ein Clanmitglied online kommt oder den Server wechselt"));

  const QFont columns = ui_style::SmallFonts(9);
  Label(f.setupPanel, "Label12", {150, 215}, QStringLiteral("Echo"), columns);
  Label(f.setupPanel, "Label21", {181, 215}, QStringLiteral("Teamsay"), columns);
  Label(f.setupPanel, "Label22", {234, 215}, QStringLiteral("Say"), columns);
  Label(f.setupPanel, "Label11", {9, 235}, QStringLiteral("Keybinder für Userlisten:"), font);
  f.set_keybinder_echo = ChoiceList(f.setupPanel, "set_keybinder_echo", {142, 230, 39, 21});
  f.set_keybinder_teamsay = ChoiceList(f.setupPanel, "set_keybinder_teamsay", {182, 230, 40, 21});
  f.set_keybinder_say = ChoiceList(f.setupPanel, "set_keybinder_say", {223, 230, 39, 21});

  // Below the key choices; the save button moved down to make room.
  f.set_traymin =
      CheckBox(f.setupPanel, "set_traymin", {10, 251, 250, 17}, QStringLiteral("In den Infobereich minimieren"), font);
  f.set_traymin->setToolTip(QStringLiteral("Minimieren legt Quavik in den Infobereich statt in die Taskleiste"));

  f.saveSettingsButton = Button(f.setupPanel, "Button1", {15, 269, 246, 20},
                                QStringLiteral("Konfiguration speichern && zurückkehren"), ui_style::SmallFonts(9, true));
}

}  // namespace window_layout
