// Test helper: an activity log in a temp dir and its markers and messages
// without the date and time ("START NoLog found", "  END NoLog found").
#pragma once
#include <QString>
#include <QStringList>

#include "platform/os/activity_log.h"
#include "platform/os/text_file.h"
#include "support/temp_dir.h"

namespace testing_support {

class ActivityLines {
 public:
  ActivityLines() : log_(true, dir_.File("quavik.log")) {}
  const platform::ActivityLog& Log() const { return log_; }
  QStringList Entries() const {
    QStringList entries;
    for (const QString& line : platform::ReadTextFileLines(log_.Path()).value_or(QStringList())) {
      entries.append(line.mid(line.indexOf(QStringLiteral(": ")) + 2));
    }
    return entries;
  }

 private:
  TempDir dir_;
  platform::ActivityLog log_;
};

}  // namespace testing_support
