#include "skin/ui_style.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace ui_style {

namespace {

// The faces asked for in place of `family`, best first.
QStringList FamilyChain(const QString& family) {
  // Arial and the old sans serif system face have metric twins in the
  // Liberation faces; the small raster face is narrow, like a condensed
  // face; Verdana is wide, like DejaVu Sans.
  if (family == QLatin1String("Arial") || family == QLatin1String("MS Sans Serif"))
    return {family, QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")};
  if (family == QLatin1String("Small Fonts")) return {family, QStringLiteral("DejaVu Sans Condensed")};
  if (family == QLatin1String("Verdana")) return {family, QStringLiteral("DejaVu Sans")};
  return {family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
}

}  // namespace

QFont Font(const QString& family, int pixelSize, bool bold) { return Face(FamilyChain(family), pixelSize, bold); }

QFont Face(const QStringList& families, int pixelSize, bool bold) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  // Latin text needs no shaping engine: left out, its code and the faces'
  // shaping tables stay unloaded (about 0.6 MB resident). Scripts that
  // need shaping are still shaped; plain text loses only ligatures and kerning.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

QFont ListFont() {
  return Face({QStringLiteral("Small Fonts"), QStringLiteral("Liberation Sans Narrow"),
               QStringLiteral("DejaVu Sans Condensed")},
              9);
}

void PaintListColours(QWidget* widget, const QColor& text, bool fieldsToo) {
  QPalette pal = widget->palette();
  pal.setColor(QPalette::Window, kListBackground);
  pal.setColor(QPalette::WindowText, text);
  if (fieldsToo) {
    for (auto role : {QPalette::Base, QPalette::Button}) pal.setColor(role, kListBackground);
    for (auto role : {QPalette::Text, QPalette::ButtonText}) pal.setColor(role, text);
  }
  widget->setPalette(pal);
  widget->setAutoFillBackground(true);
}

void PaintStandardColours(QWidget* widget) {
  // Every role set, so that none is taken from the parent.
  QPalette standard = QApplication::palette(widget);
  for (int group = 0; group < QPalette::NColorGroups; ++group)
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto colourGroup = QPalette::ColorGroup(group);
      const auto colourRole = QPalette::ColorRole(role);
      standard.setBrush(colourGroup, colourRole, standard.brush(colourGroup, colourRole));
    }
  widget->setPalette(standard);
}

void PaintText(QWidget* widget, const QColor& text) {
  QPalette pal = widget->palette();
  pal.setColor(QPalette::WindowText, text);
  widget->setPalette(pal);
}

void MarkFlat(QWidget* widget) { widget->setProperty(kFlatLook, true); }

void PaintChoiceList(QComboBox* list, const QColor& text) {
  PaintListColours(list, text, true);
  // The platform style shades a drop-down list like a button, lighter than
  // the colour asked for; the program's style draws it flat. The holder of
  // the open list, made with the list, asks the style for its frame and
  // margins again on a style change only.
  MarkFlat(list);
  QAbstractItemView* entries = list->view();
  QEvent styleChange(QEvent::StyleChange);
  QCoreApplication::sendEvent(entries->parentWidget(), &styleChange);
  QPalette pal = entries->palette();
  for (auto role : {QPalette::Base, QPalette::Window, QPalette::Button}) pal.setColor(role, kListBackground);
  for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText}) pal.setColor(role, text);
  pal.setColor(QPalette::WindowText, kListText);  // the frame
  pal.setColor(QPalette::Highlight, kHeading);
  entries->setPalette(pal);
  entries->setFrameStyle(QFrame::Box | QFrame::Plain);
  entries->setLineWidth(1);
}

void PaintBlackWindow(QWidget* window, const QColor& text) {
  QPalette colours = window->palette();
  colours.setColor(QPalette::Window, Qt::black);
  colours.setColor(QPalette::WindowText, text);
  window->setPalette(colours);
  window->setAutoFillBackground(true);
}

}  // namespace ui_style
