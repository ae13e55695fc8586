#include "ui/window_layout.h"

#include <QUrl>
#include <iterator>

#include "app/program_site.h"
#include "skin/artwork.h"
#include "ui/image_animation.h"
#include "ui/main_window_controls.h"
#include "ui/roster_grid.h"
#include "skin/ui_style.h"

namespace {

struct ImageLayout {
  const char* name;
  QRect geometry;
  QString hint;
  bool hand;
  bool visible;
  QPixmap picture;
};

TImage* MakeImage(QWidget* parent, const ImageLayout& entry) {
  auto* image = new TImage(parent);
  image->setObjectName(QString::fromLatin1(entry.name));
  image->setGeometry(entry.geometry);
  image->setToolTip(entry.hint);
  if (entry.hand) image->SetHandCursor();
  if (!entry.picture.isNull()) image->setPixmap(entry.picture);
  image->setVisible(entry.visible);
  return image;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                  const QFont& font, const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setTextFormat(Qt::PlainText);  // may show text from outside: never markup
  label->setFont(font);
  label->setAutoFillBackground(false);  // on the skin
  ui_style::PaintText(label, colour);
  return label;
}

// The image buttons and labels placed directly on the window, back to front.
void BuildImages(QWidget& window, MainWindowControls& f) {
  using artwork::ListSwitch;
  QWidget* const form = &window;
  const QString homeHint = QStringLiteral("Zur Website ") + QUrl(app::kHomePage).host();

  f.reloadBackground = MakeImage(form, {"reloadbackground", {207, 28, 20, 15}, "Aktualisieren", false, true,
                                      artwork::ReloadButton(false)});
  f.clanSiteButton =
      MakeImage(form, {"Image2", {167, 28, 21, 15}, "Zur Clanwebsite", true, true, artwork::ClanSiteButton()});
  f.reloadButton =
      MakeImage(form, {"Image3", {207, 28, 20, 15}, "Aktualisieren", true, false, artwork::ReloadButton(true)});
  f.setupButton = MakeImage(form, {"Image4", {227, 28, 19, 15}, "Programmsetup", true, true, artwork::SetupButton()});
  f.startGameButton = MakeImage(form, {"Image5", {246, 28, 41, 15}, "Tactical Ops starten", true, true,
                            artwork::StartGameButton()});
  f.logoutButton = MakeImage(form, {"button_aktiv", {3, 340, 95, 57}, "Abmelden", true, false,
                                  artwork::LoginButton(true)});
  f.loginButton = MakeImage(form, {"button_inaktiv", {3, 340, 95, 57}, "Anmelden", true, true,
                                    artwork::LoginButton(false)});
  f.minimizeButton = MakeImage(form, {"Image6", {262, 6, 12, 12}, "Minimieren", true, true, artwork::MinimizeGlyph()});
  f.closeButton = MakeImage(form, {"Image7", {279, 6, 12, 12}, "Close", true, true, artwork::CloseGlyph()});
  f.homePageLink = MakeImage(form, {"Image8", {142, 366, 138, 9}, homeHint, true, true, {}});

  // Wide enough for "Username: " and the player's name after it.
  f.playerCaption = MakeLabel(form, "OwnerLabel", {13, 31, 150, 10}, QStringLiteral("Username: "),
                         ui_style::SmallFonts(8), Qt::white);

  f.titleStrip = MakeImage(form, {"Image12", {3, -1, 124, 17}, {}, false, true, {}});
  f.clanListTabChosen = MakeImage(form, {"clan_active", {204, 346, 38, 9}, "Clanverzeichnis", false, true,
                                 ListSwitch(false, true)});
  f.globalListTab = MakeImage(form, {"global_inactive", {246, 346, 38, 9}, "Globales Verzeichnis", true, true,
                                     ListSwitch(true, false)});
  f.globalListTabChosen = MakeImage(form, {"global_active", {246, 346, 38, 9}, "Globales Verzeichnis", false, false,
                                   ListSwitch(true, true)});
  f.clanListTab = MakeImage(form, {"clan_inactive", {204, 346, 38, 9}, "Clanverzeichnis", true, false,
                                   ListSwitch(false, false)});
  f.updateIndicator = MakeImage(form, {"updateicon", {99, 345, 105, 11}, {}, false, false, {}});
  AnimateImage(f.updateIndicator, artwork::UpdateIndicatorFrames(), 90);

  f.bookmarkCaption = MakeLabel(form, "Label8", {57, 382, 69, 10}, QStringLiteral("Server-Bookmarks:"),
                     ui_style::SmallFonts(8), QColor(128, 128, 128));

  f.newsButton = MakeImage(form, {"Image9", {188, 28, 19, 15}, "Aktuelle News online abrufen", true, true,
                            artwork::NewsButton()});
}

// The two roster lists, the global one hidden behind the clan one.
void BuildLists(QWidget& window, MainWindowControls& f) {
  f.globalList = new QTableWidget(&window);
  f.globalList->setObjectName(QStringLiteral("GlobalGrid"));
  f.globalList->setGeometry(11, 48, 275, 281);
  f.globalList->setToolTip(QStringLiteral("Registrierte Onlinespieler, Doppelklick zum kopieren..."));
  StyleRosterGrid(f.globalList);
  f.globalList->hide();

  f.clanList = new QTableWidget(&window);
  f.clanList->setObjectName(QStringLiteral("grid"));
  f.clanList->setGeometry(11, 48, 275, 294);
  f.clanList->setToolTip(QStringLiteral("Registrierte Onlinespieler"));
  StyleRosterGrid(f.clanList);
}

void BuildBookmarkList(QWidget& window, MainWindowControls& f) {
  f.bookmarkList = new QComboBox(&window);
  f.bookmarkList->setObjectName(QStringLiteral("serverliste"));
  f.bookmarkList->setGeometry(132, 377, 163, 19);
  f.bookmarkList->setToolTip(QStringLiteral("Kein Server gewählt..."));
  f.bookmarkList->setEditable(false);
  f.bookmarkList->setFont(ui_style::SmallFonts(9));
  ui_style::PaintChoiceList(f.bookmarkList, Qt::black);
}

void BuildPopupMenu(QWidget& window, MainWindowControls& f) {
  f.titleMenu = new QMenu(&window);
  f.titleMenu->setObjectName(QStringLiteral("TopPop"));
  f.aboutAction = f.titleMenu->addAction(QStringLiteral("Über den Quavik..."));
  f.aboutAction->setObjectName(QStringLiteral("berdenQuavik1"));
  f.minimizeAction = f.titleMenu->addAction(QStringLiteral("Minimieren"));
  f.minimizeAction->setObjectName(QStringLiteral("Minimieren1"));
  f.quitAction = f.titleMenu->addAction(QStringLiteral("Zephanor schliessen"));
  f.quitAction->setObjectName(QStringLiteral("Quavikbeenden1"));

  f.rowMenu = new QMenu(&window);
  f.rowMenu->setObjectName(QStringLiteral("RowPop"));
  f.serverInfoAction = f.rowMenu->addAction(QStringLiteral("Server-Info..."));
  f.serverInfoAction->setObjectName(QStringLiteral("ServerInfo1"));
}

}  // namespace

namespace window_layout {

void SetFocusOrder(MainWindowControls& f) {
  QWidget* const order[] = {f.clanList,          f.set_intervall,      f.set_clansite,          f.set_retailmod,
                            f.set_logkill,       f.set_notify,         f.set_traymin,           f.saveSettingsButton,
                            f.scriptTabs,        f.set_server,         f.set_pass,              f.set_globalserver,
                            f.set_globalpass,    f.set_todir,          f.set_keybinder_echo,    f.set_keybinder_teamsay,
                            f.set_keybinder_say, f.bookmarkList,       f.globalList,            f.closeAboutButton,
                            f.newsText,          f.closeNewsButton};
  QWidget* previous = nullptr;
  for (QWidget* control : order) {
    if (!control) continue;  // on a panel not built yet
    if (previous) QWidget::setTabOrder(previous, control);
    previous = control;
  }
}

void BuildControls(QWidget& window, MainWindowControls& form) {
  BuildImages(window, form);
  BuildLists(window, form);
  BuildBookmarkList(window, form);
  BuildPopupMenu(window, form);
  SetFocusOrder(form);
}

}  // namespace window_layout
