#include "platform/os/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

namespace platform {
namespace {

// A yes/no question can only be answered: neither Escape nor the window's
// close button (nor the window manager's close command) dismisses it. Left
// to Qt, both would count as "Nein" or as no answer, and a caller that acts
// on "Ja" only would skip what the user never declined.
class AnswerOnlyBox : public QMessageBox {
 public:
  explicit AnswerOnlyBox(QWidget* parent) : QMessageBox(parent) {}
  void SetAnswerOnly(bool answerOnly) {
    answerOnly_ = answerOnly;
    if (answerOnly) {
      setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint);
    }
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (answerOnly_ && event->matches(QKeySequence::Cancel)) {
      event->accept();
      return;
    }
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (answerOnly_) {
      event->ignore();
      return;
    }
    QMessageBox::closeEvent(event);
  }

 private:
  bool answerOnly_ = false;
};

}  // namespace

Answer QtDialogs::ShowMessage(const QString& text, Buttons buttons, BoxKind kind) {
  AnswerOnlyBox box(QApplication::activeWindow());
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
  box.SetAnswerOnly(buttons == Buttons::YesNo);
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
