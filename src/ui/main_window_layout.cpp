// The image buttons and labels placed directly on the window, back to front.
#include <QUrl>

#include "ui/artwork.h"
#include "ui/image_animation.h"
#include "ui/main_window.h"
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
  label->setAutoFillBackground(false);
  label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(ui_style::Css(colour)));
  return label;
}

}  // namespace

const QString TForm1::kHomePage = QStringLiteral("http://www.quavik.de/");

void TForm1::BuildImages() {
  using artwork::ListSwitch;
  const QString homeHint = QStringLiteral("Zur Website ") + QUrl(kHomePage).host();

  reloadbackground = MakeImage(this, {"reloadbackground", {207, 28, 20, 15}, "Aktualisieren", false, true,
                                      artwork::ReloadButton(false)});
  Image2 = MakeImage(this, {"Image2", {167, 28, 21, 15}, "Zur Clanwebsite", true, true, artwork::ClanSiteButton()});
  Image3 = MakeImage(this, {"Image3", {207, 28, 20, 15}, "Aktualisieren", true, false, artwork::ReloadButton(true)});
  Image4 = MakeImage(this, {"Image4", {227, 28, 19, 15}, "Programmsetup", true, true, artwork::SetupButton()});
  Image5 = MakeImage(this, {"Image5", {246, 28, 41, 15}, "Tactical Ops starten", true, true,
                            artwork::StartGameButton()});
  button_aktiv = MakeImage(this, {"button_aktiv", {3, 340, 95, 57}, "Abmelden", true, false,
                                  artwork::LoginButton(true)});
  button_inaktiv = MakeImage(this, {"button_inaktiv", {3, 340, 95, 57}, "Anmelden", true, true,
                                    artwork::LoginButton(false)});
  Image6 = MakeImage(this, {"Image6", {262, 6, 12, 12}, "Minimieren", true, true, artwork::MinimizeGlyph()});
  Image7 = MakeImage(this, {"Image7", {279, 6, 12, 12}, "Close", true, true, artwork::CloseGlyph()});
  Image8 = MakeImage(this, {"Image8", {142, 366, 138, 9}, homeHint, true, true, {}});

  // Wide enough for "Username: " and the player's name after it.
  OwnerLabel = MakeLabel(this, "OwnerLabel", {13, 31, 150, 10}, QStringLiteral("Username: "),
                         ui_style::SmallFonts(8), Qt::white);

  Image12 = MakeImage(this, {"Image12", {3, -1, 124, 17}, {}, false, true, {}});
  clan_active = MakeImage(this, {"clan_active", {204, 346, 38, 9}, "Clanverzeichnis", false, true,
                                 ListSwitch(false, true)});
  global_inactive = MakeImage(this, {"global_inactive", {246, 346, 38, 9}, "Globales Verzeichnis", true, true,
                                     ListSwitch(true, false)});
  global_active = MakeImage(this, {"global_active", {246, 346, 38, 9}, "Globales Verzeichnis", false, false,
                                   ListSwitch(true, true)});
  clan_inactive = MakeImage(this, {"clan_inactive", {204, 346, 38, 9}, "Clanverzeichnis", true, false,
                                   ListSwitch(false, false)});
  updateicon = MakeImage(this, {"updateicon", {99, 345, 105, 11}, {}, false, false, {}});
  AnimateImage(updateicon, artwork::UpdateIndicatorFrames(), 90);

  Label8 = MakeLabel(this, "Label8", {57, 382, 69, 10}, QStringLiteral("Server-Bookmarks:"),
                     ui_style::SmallFonts(8), QColor(128, 128, 128));

  Image9 = MakeImage(this, {"Image9", {188, 28, 19, 15}, "Aktuelle News online abrufen", true, true,
                            artwork::NewsButton()});
}
