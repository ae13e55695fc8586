// The window's shared look: its three list colours and its fonts. Fonts are
// given in pixels so the fixed layout holds; the Windows family comes first
// and a close Linux face follows for systems that lack it.
#pragma once
#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace ui_style {

inline const QColor kListBackground{225, 239, 255};
inline const QColor kHeading{169, 212, 255};
inline const QColor kListText{33, 122, 208};

QFont Font(const QString& family, int pixelSize, bool bold = false);

// The faces used by the window.
inline QFont SmallFonts(int pixelSize, bool bold = false) { return Font("Small Fonts", pixelSize, bold); }
inline QFont SansSerif(int pixelSize) { return Font("MS Sans Serif", pixelSize); }
inline QFont Arial(int pixelSize) { return Font("Arial", pixelSize); }
inline QFont Verdana(int pixelSize, bool bold = false) { return Font("Verdana", pixelSize, bold); }

// Gives `widget` the list background with `text` as its text colour; with
// `fieldsToo` also its input fields (a panel's edits stay white otherwise).
void PaintListColours(QWidget* widget, const QColor& text, bool fieldsToo = false);

// Style sheet colour text "rgb(r,g,b)".
QString Css(const QColor& colour);

}  // namespace ui_style
