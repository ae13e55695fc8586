// Modal message boxes and system beeps as an injectable service. The real one
// shows QMessageBox; tests use a recorder that answers from a script.
#pragma once
#include <QString>

namespace platform {

// The button sets the program uses.
enum class Buttons { YesOnly, Ok, YesNo };
// The icon of a box.
enum class BoxKind { Information, Error, Warning, Confirmation };
// What the user answered; Closed when the box was closed without a button,
// which a Yes/No question does not allow (it has no escape, only answers).
enum class Answer { Yes, No, Ok, Closed };
// MessageBeep values: 0 default sound, 16 error sound, 48 exclamation.
enum class Beep { Default = 0, Error = 16, Exclamation = 48 };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Modal; runs a nested event loop while it waits.
  virtual Answer ShowMessage(const QString& text, Buttons buttons, BoxKind kind) = 0;
  virtual void MessageBeep(Beep beep) = 0;
};

// QMessageBox with exactly the named buttons, caption = application name.
class QtDialogs : public Dialogs {
 public:
  Answer ShowMessage(const QString& text, Buttons buttons, BoxKind kind) override;
  void MessageBeep(Beep beep) override;
};

}  // namespace platform
