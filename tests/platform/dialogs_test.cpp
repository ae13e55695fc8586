// The real message boxes, driven as a user would: keys and the close command
// go to the box that is open, then a button is clicked.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/os/dialogs.h"

namespace platform {
namespace {

// Runs `user` on the box once it is open, inside its nested event loop.
Answer ShowAndAct(Buttons buttons, const std::function<void(QMessageBox&)>& user) {
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    poll.stop();
    user(*box);
  });
  poll.start();
  QtDialogs dialogs;
  return dialogs.ShowMessage(QStringLiteral("Frage?"), buttons, BoxKind::Confirmation);
}

QAbstractButton* ButtonNamed(QMessageBox& box, const QString& text) {
  for (QAbstractButton* button : box.buttons())
    if (button->text() == text) return button;
  return nullptr;
}

TEST(QtDialogs, AYesNoQuestionCanOnlyBeAnswered) {
  // Escape and the close command leave the question open; only a click on
  // one of its buttons ends it, with that button's answer.
  for (const auto& [labelText, expected] : {std::pair{"&Ja", Answer::Yes}, std::pair{"&Nein", Answer::No}}) {
    const char* label = labelText;  // a lambda below takes it: clang 14 captures no structured binding
    bool openAfterEscape = false, openAfterClose = false, closeButtonOffered = true;
    const Answer answer = ShowAndAct(Buttons::YesNo, [&](QMessageBox& box) {
      closeButtonOffered = box.windowFlags().testFlag(Qt::WindowCloseButtonHint);
      QTest::keyClick(&box, Qt::Key_Escape);
      openAfterEscape = box.isVisible();
      box.close();
      openAfterClose = box.isVisible();
      QAbstractButton* button = ButtonNamed(box, QString::fromLatin1(label));
      ASSERT_NE(button, nullptr);
      button->click();
    });
    EXPECT_TRUE(openAfterEscape) << label;
    EXPECT_TRUE(openAfterClose) << label;
    EXPECT_FALSE(closeButtonOffered) << label;
    EXPECT_EQ(answer, expected) << label;
  }
}

TEST(QtDialogs, AnOkBoxStillClosesWithEscape) {
  // A notice has nothing to decide: Escape dismisses it as its button would.
  bool openAfterEscape = true;
  const Answer answer = ShowAndAct(Buttons::Ok, [&](QMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Escape);
    openAfterEscape = box.isVisible();
  });
  EXPECT_FALSE(openAfterEscape);
  EXPECT_EQ(answer, Answer::Ok);
}

}  // namespace
}  // namespace platform
