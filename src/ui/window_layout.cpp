#include "ui/window_layout.h"

#include <QUrl>
#include <iterator>

#include "app/session.h"
#include "ui/artwork.h"
#include "ui/image_animation.h"
#include "ui/main_window_controls.h"
#include "ui/roster_grid.h"
#include "ui/ui_style.h"

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

  f.reloadbackground = MakeImage(form, {"reloadbackground", {207, 28, 20, 15}, "Aktualisieren", false, true,
                                      artwork::ReloadButton(false)});
  f.Image2 = MakeImage(form, {"Image2", {167, 28, 21, 15}, "Zur Clanwebsite", true, true, artwork::ClanSiteButton()});
  f.Image3 = MakeImage(form, {"Image3", {207, 28, 20, 15}, "Aktualisieren", true, false, artwork::ReloadButton(true)});
  f.Image4 = MakeImage(form, {"Image4", {227, 28, 19, 15}, "Programmsetup", true, true, artwork::SetupButton()});
  f.Image5 = MakeImage(form, {"Image5", {246, 28, 41, 15}, "Tactical Ops starten", true, true,
                            artwork::StartGameButton()});
  f.button_aktiv = MakeImage(form, {"button_aktiv", {3, 340, 95, 57}, "Abmelden", true, false,
                                  artwork::LoginButton(true)});
  f.button_inaktiv = MakeImage(form, {"button_inaktiv", {3, 340, 95, 57}, "Anmelden", true, true,
                                    artwork::LoginButton(false)});
  f.Image6 = MakeImage(form, {"Image6", {262, 6, 12, 12}, "Minimieren", true, true, artwork::MinimizeGlyph()});
  f.Image7 = MakeImage(form, {"Image7", {279, 6, 12, 12}, "Close", true, true, artwork::CloseGlyph()});
  f.Image8 = MakeImage(form, {"Image8", {142, 366, 138, 9}, homeHint, true, true, {}});

  // Wide enough for "Username: " and the player's name after it.
  f.OwnerLabel = MakeLabel(form, "OwnerLabel", {13, 31, 150, 10}, QStringLiteral("Username: "),
                         ui_style::SmallFonts(8), Qt::white);

  f.Image12 = MakeImage(form, {"Image12", {3, -1, 124, 17}, {}, false, true, {}});
  f.clan_active = MakeImage(form, {"clan_active", {204, 346, 38, 9}, "Clanverzeichnis", false, true,
                                 ListSwitch(false, true)});
  f.global_inactive = MakeImage(form, {"global_inactive", {246, 346, 38, 9}, "Globales Verzeichnis", true, true,
                                     ListSwitch(true, false)});
  f.global_active = MakeImage(form, {"global_active", {246, 346, 38, 9}, "Globales Verzeichnis", false, false,
                                   ListSwitch(true, true)});
  f.clan_inactive = MakeImage(form, {"clan_inactive", {204, 346, 38, 9}, "Clanverzeichnis", true, false,
                                   ListSwitch(false, false)});
  f.updateicon = MakeImage(form, {"updateicon", {99, 345, 105, 11}, {}, false, false, {}});
  AnimateImage(f.updateicon, artwork::UpdateIndicatorFrames(), 90);

  f.Label8 = MakeLabel(form, "Label8", {57, 382, 69, 10}, QStringLiteral("Server-Bookmarks:"),
                     ui_style::SmallFonts(8), QColor(128, 128, 128));

  f.Image9 = MakeImage(form, {"Image9", {188, 28, 19, 15}, "Aktuelle News online abrufen", true, true,
                            artwork::NewsButton()});
}

// The two roster lists, the global one hidden behind the clan one.
void BuildLists(QWidget& window, MainWindowControls& f) {
  f.GlobalGrid = new QTableWidget(&window);
  f.GlobalGrid->setObjectName(QStringLiteral("GlobalGrid"));
  f.GlobalGrid->setGeometry(11, 48, 275, 281);
  f.GlobalGrid->setToolTip(QStringLiteral("Registrierte Onlinespieler, Doppelklick zum kopieren..."));
  StyleRosterGrid(f.GlobalGrid);
  f.GlobalGrid->hide();

  f.grid = new QTableWidget(&window);
  f.grid->setObjectName(QStringLiteral("grid"));
  f.grid->setGeometry(11, 48, 275, 294);
  f.grid->setToolTip(QStringLiteral("Registrierte Onlinespieler"));
  StyleRosterGrid(f.grid);
}

void BuildBookmarkList(QWidget& window, MainWindowControls& f) {
  f.serverliste = new QComboBox(&window);
  f.serverliste->setObjectName(QStringLiteral("serverliste"));
  f.serverliste->setGeometry(132, 377, 163, 19);
  f.serverliste->setToolTip(QStringLiteral("Kein Server gewählt..."));
  f.serverliste->setEditable(false);
  f.serverliste->setFont(ui_style::SmallFonts(9));
  ui_style::PaintChoiceList(f.serverliste, Qt::black);
}

void BuildPopupMenu(QWidget& window, MainWindowControls& f) {
  f.TopPop = new QMenu(&window);
  f.TopPop->setObjectName(QStringLiteral("TopPop"));
  f.berdenQuavik1 = f.TopPop->addAction(QStringLiteral("Über den Quavik..."));
  f.berdenQuavik1->setObjectName(QStringLiteral("berdenQuavik1"));
  f.Minimieren1 = f.TopPop->addAction(QStringLiteral("Minimieren"));
  f.Minimieren1->setObjectName(QStringLiteral("Minimieren1"));
  f.Quavikbeenden1 = f.TopPop->addAction(QStringLiteral("Zephanor schliessen"));
  f.Quavikbeenden1->setObjectName(QStringLiteral("Quavikbeenden1"));

  f.RowPop = new QMenu(&window);
  f.RowPop->setObjectName(QStringLiteral("RowPop"));
  f.ServerInfo1 = f.RowPop->addAction(QStringLiteral("Server-Info..."));
  f.ServerInfo1->setObjectName(QStringLiteral("ServerInfo1"));
}

}  // namespace

namespace window_layout {

void SetFocusOrder(MainWindowControls& f) {
  QWidget* const order[] = {f.grid,          f.set_intervall,      f.set_clansite,  f.set_retailmod,
                            f.set_logkill,   f.set_notify,         f.set_traymin,   f.Button1,       f.PassContainer,
                            f.set_server,    f.set_pass,           f.set_globalserver, f.set_globalpass,
                            f.set_todir,     f.set_keybinder_echo, f.set_keybinder_teamsay,
                            f.set_keybinder_say, f.serverliste,    f.GlobalGrid,    f.Button3,
                            f.NewsMemo,      f.Button2};
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
