#include "platform/os/activity_log.h"

#include <QDateTime>
#include <QLocale>

#include <cstdio>

#include "platform/text/cp1252.h"
#include "platform/os/errors.h"

namespace platform {

QString FormatActivityLine(const QString& date, const QString& time, bool isStart,
                           const QString& message) {
  return date + QStringLiteral(", ") + time + QStringLiteral(": ") +
         (isStart ? QStringLiteral("START ") : QStringLiteral("  END ")) + message;
}

namespace {

// The system's short date with a four-digit year, as Windows shows it
// ("06.12.2026" in German), and its long time without a time-zone name.
QString SystemDateFormat(const QLocale& locale) {
  QString format = locale.dateFormat(QLocale::ShortFormat);
  if (!format.contains(QStringLiteral("yyyy"))) format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
  return format;
}

QString SystemTimeFormat(const QLocale& locale) {
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return format.trimmed();
}

}  // namespace

void ActivityLog::WriteActivityLog(bool isStart, const QString& message) const {
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale;  // the system locale unless the program set another
  const QString line = FormatActivityLine(locale.toString(now.date(), SystemDateFormat(locale)),
                                          locale.toString(now.time(), SystemTimeFormat(locale)),
                                          isStart, message);
  const std::string bytes = platform::ToCp1252(line) + "\r\n";
  std::FILE* f = std::fopen(path_.toLocal8Bit().constData(), "ab");
  if (!f) throw platform::IoError(QStringLiteral("Cannot open file %1").arg(path_));
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) throw platform::IoError(QStringLiteral("Unable to write to %1").arg(path_));
}

}  // namespace platform
