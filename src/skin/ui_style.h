// The window's shared look: its three list colours and its fonts. Fonts are
// given in pixels so the fixed layout holds; the Windows family comes first,
// then faces of the same widths that Linux has (the Liberation faces, from
// Debian's fonts-liberation), then a common face as the last resort.
#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace ui_style {

inline const QColor kListBackground{225, 239, 255};
inline const QColor kHeading{169, 212, 255};
inline const QColor kListText{33, 122, 208};

QFont Font(const QString& family, int pixelSize, bool bold = false);
// A face of the first of `families` at hand, rendered as all the program's
// text is: full hinting, and no shaping engine for text that needs none.
QFont Face(const QStringList& families, int pixelSize, bool bold = false);

// The faces used by the window.
inline QFont SmallFonts(int pixelSize, bool bold = false) { return Font("Small Fonts", pixelSize, bold); }
inline QFont SansSerif(int pixelSize) { return Font("MS Sans Serif", pixelSize); }
inline QFont Arial(int pixelSize) { return Font("Arial", pixelSize); }
inline QFont Verdana(int pixelSize, bool bold = false) { return Font("Verdana", pixelSize, bold); }

// The small face of the roster lists, whose columns are fixed: where the
// small raster face is missing, a narrow cut stands in, so that a full
// timestamp and address fit their columns.
QFont ListFont();

// Gives `widget` the list background with `text` as its text colour; with
// `fieldsToo` also its input fields (a panel's edits stay white otherwise).
void PaintListColours(QWidget* widget, const QColor& text, bool fieldsToo = false);

// Gives `widget` and its children the application's colours rather than
// those of the panel it lies on.
void PaintStandardColours(QWidget* widget);

// Gives `widget` `text` as the colour of its own text.
void PaintText(QWidget* widget, const QColor& text);

// The property that asks the program's style (ui/program_style.h) to draw a
// widget flat, in its palette's colours.
inline constexpr char kFlatLook[] = "flatLook";
void MarkFlat(QWidget* widget);

// Gives the drop-down list `list` and its open list the list background,
// drawn flat in a frame of the list text colour, with `text` as the text
// colour; the chosen entry of the open list stands on the heading colour.
void PaintChoiceList(QComboBox* list, const QColor& text);

// The program's small windows beside the main window (the directory
// chooser, the server info): a tool window with a title and a close button
// only, not resizable.
inline constexpr Qt::WindowFlags kSmallWindowFlags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Gives the small window `window` its black background, with `text` as
// the colour of its own text.
void PaintBlackWindow(QWidget* window, const QColor& text = Qt::white);

}  // namespace ui_style
