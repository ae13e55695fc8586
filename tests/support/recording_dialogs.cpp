#include "recording_dialogs.h"

namespace testing_support {

platform::Answer RecordingDialogs::ShowMessage(const QString& text, platform::Buttons buttons,
                                               platform::BoxKind kind) {
  RecordedBox box{text, buttons, kind};
  boxes.push_back(box);
  events.push_back(QStringLiteral("box ") + text);
  if (whileOpen) whileOpen(box);
  if (!answers.empty()) {
    const platform::Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  return buttons == platform::Buttons::Ok ? platform::Answer::Ok : platform::Answer::Yes;
}

}  // namespace testing_support
