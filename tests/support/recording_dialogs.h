// Test stand-in for message boxes and beeps: records every box and beep and
// answers from a script (default: the first button of the box).
#pragma once
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/os/dialogs.h"

namespace testing_support {

struct RecordedBox {
  QString text;
  platform::Buttons buttons;
  platform::BoxKind kind;
};

class RecordingDialogs : public platform::Dialogs {
 public:
  platform::Answer ShowMessage(const QString& text, platform::Buttons buttons,
                               platform::BoxKind kind) override;
  void MessageBeep(platform::Beep beep) override { beeps.push_back(beep); events.push_back(QStringLiteral("beep %1").arg(int(beep))); }

  // Answers given in order; when empty, Yes for YesOnly/YesNo, Ok for Ok.
  std::deque<platform::Answer> answers;
  // Runs while the box is "open" (inside the modal wait), before it answers.
  std::function<void(const RecordedBox&)> whileOpen;

  std::vector<RecordedBox> boxes;
  std::vector<platform::Beep> beeps;
  std::vector<QString> events;  // "box <text>" and "beep <n>" in order
};

}  // namespace testing_support
