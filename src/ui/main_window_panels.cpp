// The about panel and the news panel. Both stand to the right of the visible
// area until start-up moves them over the lists.
#include "ui/main_window.h"
#include "ui/panel_builders.h"
#include "ui/ui_style.h"

using namespace panel_builders;

namespace {

QLabel* AboutLine(QWidget* panel, const char* name, int top, const QString& text, int pixelSize,
                  bool bold = false) {
  auto* line = new QLabel(text, panel);
  line->setObjectName(QString::fromLatin1(name));
  line->setTextFormat(Qt::PlainText);  // may show text from outside: never markup
  line->setFont(ui_style::Verdana(pixelSize, bold));
  line->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  line->setGeometry(0, top, panel->width(), pixelSize + 6);
  return line;
}

}  // namespace

void TForm1::BuildAboutPanel() {
  about = Panel(this, "about", {283, 48, 276, 293});
  // The design places each line at its own left edge; centred over the
  // panel's width they keep those places with any font.
  auto* name = AboutLine(about, "Label13", 20, QStringLiteral("Quavik"), 24, true);
  name->setStyleSheet(QStringLiteral("color: %1;").arg(ui_style::Css(ui_style::kListText)));
  AboutLine(about, "Label14", 52, QStringLiteral("Release Candidate 5 - Rel. 01.10.2002"), 9);
  AboutLine(about, "Label15", 95, QStringLiteral("Weitere Infos und kostenloser Download"), 9, true);
  AboutLine(about, "Label16", 110, QStringLiteral("www.quavik.de"), 9);
  AboutLine(about, "Label17", 136, QStringLiteral("Kontakt zum Team:"), 9, true);
  AboutLine(about, "Label18", 151, QStringLiteral("team@quavik.de"), 9);
  AboutLine(about, "Label19", 166, QStringLiteral("Fehler und Wünsche bitte ins Forum"), 9);
  AboutLine(about, "Label20", 181, QStringLiteral("forum.quavik.de"), 9);
  AboutLine(about, "SettingsFileHeading", 206, QStringLiteral("Einstellungen:"), 9, true);
  // The path is filled in at start-up; a long one wraps at its separators.
  SettingsFileLabel = AboutLine(about, "SettingsFileLabel", 221, QString(), 9);
  SettingsFileLabel->setWordWrap(true);
  SettingsFileLabel->setGeometry(8, 221, about->width() - 16, 30);
  SettingsFileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Button3 = Button(about, "Button3", {49, 256, 178, 19}, QStringLiteral("Infofenster schliessen..."),
                   ui_style::SansSerif(11));
}

void TForm1::BuildNewsPanel() {
  NewsPanel = Panel(this, "NewsPanel", {290, 48, 276, 293});
  NewsMemo = new QPlainTextEdit(NewsPanel);
  NewsMemo->setObjectName(QStringLiteral("NewsMemo"));
  NewsMemo->setGeometry(4, 4, 269, 249);
  NewsMemo->setFrameShape(QFrame::NoFrame);
  NewsMemo->setFont(ui_style::SmallFonts(9));
  NewsMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  NewsMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ui_style::PaintListColours(NewsMemo, ui_style::kListText, true);
  Button2 = Button(NewsPanel, "Button2", {49, 256, 178, 19}, QStringLiteral("Newsfenster schliessen"),
                   ui_style::SansSerif(11));
}
