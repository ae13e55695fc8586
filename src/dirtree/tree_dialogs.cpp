#include "dirtree/tree_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace dirtree {

platform::Answer TreeDialogs::ShowMessage(const QString& text, platform::Buttons buttons,
                                          platform::BoxKind kind) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QApplication::applicationDisplayName());
  box.setText(text);
  switch (kind) {
    case platform::BoxKind::Information: box.setIcon(QMessageBox::Information); break;
    case platform::BoxKind::Error: box.setIcon(QMessageBox::Critical); break;
    case platform::BoxKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case platform::BoxKind::Confirmation: box.setIcon(QMessageBox::Question); break;
  }
  switch (buttons) {
    case platform::Buttons::YesOnly: box.setStandardButtons(QMessageBox::Yes); break;
    case platform::Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case platform::Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  const TLanguage language = language_();
  if (QAbstractButton* yes = box.button(QMessageBox::Yes)) yes->setText(Tr(language, Text::YesButton));
  if (QAbstractButton* no = box.button(QMessageBox::No)) no->setText(Tr(language, Text::NoButton));
  if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(Tr(language, Text::OkButton));
  switch (box.exec()) {
    case QMessageBox::Yes: return platform::Answer::Yes;
    case QMessageBox::No: return platform::Answer::No;
    case QMessageBox::Ok: return platform::Answer::Ok;
    default: return platform::Answer::Closed;
  }
}

void TreeDialogs::MessageBeep(platform::Beep) { QApplication::beep(); }

}  // namespace dirtree
