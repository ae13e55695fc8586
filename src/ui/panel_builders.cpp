#include "ui/panel_builders.h"

#include "skin/ui_style.h"

namespace panel_builders {

namespace {

// A named button of kind `Control` with its caption.
template <typename Control>
Control* Captioned(QWidget* parent, const char* name, const QRect& geometry, const QString& text, const QFont& font) {
  auto* control = new Control(text, parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  control->setFont(font);
  return control;
}

}  // namespace

QFrame* Panel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setGeometry(geometry);
  panel->setFrameShape(QFrame::NoFrame);
  ui_style::PaintListColours(panel, Qt::black);
  panel->hide();
  return panel;
}

QLabel* Label(QWidget* parent, const char* name, const QPoint& at, const QString& text, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);  // may show text from outside: never markup
  label->setFont(font);
  label->move(at);
  label->adjustSize();
  return label;
}

QLineEdit* Edit(QWidget* parent, const char* name, const QRect& geometry, bool masked) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(geometry);
  edit->setFont(ui_style::Arial(11));
  // Text the program puts in (the settings, a chosen directory) shows from
  // its start, where an address has its scheme: setting a text moves the
  // cursor to its end, and without focus only the program moves it.
  QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, [edit] {
    if (!edit->hasFocus()) edit->setCursorPosition(0);
  });
  if (masked) edit->setEchoMode(QLineEdit::Password);  // one '*' a character: the program's style
  return edit;
}

QComboBox* ChoiceList(QWidget* parent, const char* name, const QRect& geometry, const QStringList& items) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setGeometry(geometry);
  list->setEditable(false);
  list->addItems(items);
  list->setCurrentIndex(-1);
  return list;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                    const QFont& font) {
  auto* box = Captioned<QCheckBox>(parent, name, geometry, text, font);
  ui_style::PaintStandardColours(box);
  return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                    const QFont& font) {
  return Captioned<QPushButton>(parent, name, geometry, text, font);
}

}  // namespace panel_builders
