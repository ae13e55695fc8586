// Errors raised by handlers. Anything derived from std::exception that leaves
// a handler is caught by the application's standard error report
// (platform/os/guarded_application.h), shown in an error box, and the program
// goes on running.
#pragma once
#include <QString>
#include <stdexcept>

namespace platform {

class QuavikError : public std::runtime_error {
 public:
  explicit QuavikError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& Message() const { return message_; }

 private:
  QString message_;
};

// Input/output error on a file: "Unable to write to %s", "Cannot open file %s", ...
class IoError : public QuavikError {
 public:
  using QuavikError::QuavikError;
};

}  // namespace platform
