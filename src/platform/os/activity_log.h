// The activity log "quavik.log": one START or END line per operation, in the
// process's working directory, only when the program was started with "LOG".
// Line: <short date>, <long time>: START <message>   or   ...:   END <message>
// Each line opens, appends and closes the file; an I/O error raises
// platform::IoError and ends the operation that wanted to write.
#pragma once
#include <QString>
#include <exception>
#include <utility>

namespace platform {

class ActivityLog {
 public:
  ActivityLog() = default;  // switched off
  ActivityLog(bool enabled, QString filePath) : enabled_(enabled), path_(std::move(filePath)) {}

  bool Enabled() const { return enabled_; }
  const QString& Path() const { return path_; }

  // Appends one line when enabled; nothing at all when not.
  void Start(const QString& message) const { if (enabled_) WriteActivityLog(true, message); }
  void End(const QString& message) const { if (enabled_) WriteActivityLog(false, message); }

  void WriteActivityLog(bool isStart, const QString& message) const;

 private:
  bool enabled_ = false;
  QString path_;
};

// The line without its line end, for a given date/time text.
QString FormatActivityLine(const QString& date, const QString& time, bool isStart,
                           const QString& message);

// RAII pair of START and END lines: END is written only when the scope ends
// normally (an operation that raised leaves its START without END).
class ActivityScope {
 public:
  ActivityScope(const ActivityLog& log, QString message) : log_(log), message_(std::move(message)) {
    log_.Start(message_);
  }
  ~ActivityScope() noexcept(false) {
    if (std::uncaught_exceptions() == exceptions_) log_.End(message_);
  }
  ActivityScope(const ActivityScope&) = delete;
  ActivityScope& operator=(const ActivityScope&) = delete;

 private:
  const ActivityLog& log_;
  QString message_;
  int exceptions_ = std::uncaught_exceptions();
};

}  // namespace platform
