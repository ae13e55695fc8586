#include "ui/info_panels.h"

#include "ui/main_window_controls.h"
#include "ui/panel_builders.h"
#include "skin/ui_style.h"

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

namespace window_layout {

void BuildAboutPanel(QWidget& window, MainWindowControls& f) {
  f.aboutPanel = Panel(&window, "about", {283, 48, 276, 293});
  // The design places each line at its own left edge; centred over the
  // panel's width they keep those places with any font.
  auto* name = AboutLine(f.aboutPanel, "Label13", 20, QStringLiteral("Quavik"), 24, true);
  ui_style::PaintText(name, ui_style::kListText);
  AboutLine(f.aboutPanel, "Label14", 52, QStringLiteral("Release Candidate 5 - Rel. 01.10.2002"), 9);
  AboutLine(f.aboutPanel, "Label15", 95, QStringLiteral("Weitere Infos und kostenloser Download"), 9, true);
  AboutLine(f.aboutPanel, "Label16", 110, QStringLiteral("www.quavik.de"), 9);
  AboutLine(f.aboutPanel, "Label17", 136, QStringLiteral("Kontakt zum Team:"), 9, true);
  AboutLine(f.aboutPanel, "Label18", 151, QStringLiteral("team@quavik.de"), 9);
  AboutLine(f.aboutPanel, "Label19", 166, QStringLiteral("Fehler und Wünsche bitte ins Forum"), 9);
  AboutLine(f.aboutPanel, "Label20", 181, QStringLiteral("forum.quavik.de"), 9);
  AboutLine(f.aboutPanel, "SettingsFileHeading", 206, QStringLiteral("Einstellungen:"), 9, true);
  // The path is filled in at start-up; a long one wraps at its separators.
  f.settingsFileLabel = AboutLine(f.aboutPanel, "SettingsFileLabel", 221, QString(), 9);
  f.settingsFileLabel->setWordWrap(true);
  f.settingsFileLabel->setGeometry(8, 221, f.aboutPanel->width() - 16, 30);
  f.settingsFileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  f.closeAboutButton = Button(f.aboutPanel, "Button3", {49, 256, 178, 19}, QStringLiteral("Infofenster schliessen..."),
                   ui_style::SansSerif(11));
}

void BuildNewsPanel(QWidget& window, MainWindowControls& f) {
  f.newsPanel = Panel(&window, "NewsPanel", {290, 48, 276, 293});
  f.newsText = new QPlainTextEdit(f.newsPanel);
  f.newsText->setObjectName(QStringLiteral("NewsMemo"));
  f.newsText->setGeometry(4, 4, 269, 249);
  f.newsText->setFrameShape(QFrame::NoFrame);
  f.newsText->setFont(ui_style::SmallFonts(9));
  f.newsText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  f.newsText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ui_style::PaintListColours(f.newsText, ui_style::kListText, true);
  f.closeNewsButton = Button(f.newsPanel, "Button2", {49, 256, 178, 19}, QStringLiteral("Newsfenster schliessen"),
                   ui_style::SansSerif(11));
}

}  // namespace window_layout
