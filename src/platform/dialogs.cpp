#include "platform/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace platform {

Answer QtDialogs::ShowMessage(const QString& text, Buttons buttons, BoxKind kind) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QApplication::applicationDisplayName());
  box.setText(text);
  switch (kind) {
    case BoxKind::Information: box.setIcon(QMessageBox::Information); break;
    case BoxKind::Error: box.setIcon(QMessageBox::Critical); break;
    case BoxKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case BoxKind::Confirmation: box.setIcon(QMessageBox::Question); break;
  }
  switch (buttons) {
    case Buttons::YesOnly: box.setStandardButtons(QMessageBox::Yes); break;
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  // The program speaks German; Qt's own button texts are English.
  if (QAbstractButton* yes = box.button(QMessageBox::Yes)) yes->setText(QStringLiteral("&Ja"));
  if (QAbstractButton* no = box.button(QMessageBox::No)) no->setText(QStringLiteral("&Nein"));
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Closed;
  }
}

void QtDialogs::MessageBeep(Beep) {
  // The X11 bell has one sound; the kinds stay distinct for callers and tests.
  QApplication::beep();
}

}  // namespace platform
