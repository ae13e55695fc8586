#include "ui/ui_style.h"

#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace ui_style {

QFont Font(const QString& family, int pixelSize, bool bold) {
  QFont font;
  // The Windows face where present; otherwise a face of similar width.
  // Arial has a metric twin; the small Windows faces are narrow, so their
  // stand-in is a condensed face.
  QString fallback = QStringLiteral("DejaVu Sans Condensed");
  if (family == QLatin1String("Arial")) fallback = QStringLiteral("Nimbus Sans");
  if (family == QLatin1String("Verdana")) fallback = QStringLiteral("DejaVu Sans");
  font.setFamilies({family, fallback});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
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

QString Css(const QColor& colour) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

}  // namespace ui_style
