#include "transfer/internal/progress_format.h"

#include <QLocale>
#include <algorithm>
#include <limits>

namespace {

// Wide enough for elapsed milliseconds times a byte count.
std::int64_t RoundWide(__int128 numerator, __int128 denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  __int128 quotient = numerator / denominator;
  __int128 remainder = numerator % denominator;
  if (remainder < 0) {  // floor division: remainder in [0, denominator)
    quotient -= 1;
    remainder += denominator;
  }
  if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0)) quotient += 1;
  // Absurd sizes from a hostile server give absurd figures, never a wrap.
  quotient = std::clamp<__int128>(quotient, std::numeric_limits<std::int64_t>::min(),
                                  std::numeric_limits<std::int64_t>::max());
  return static_cast<std::int64_t>(quotient);
}

}  // namespace

std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  return RoundWide(numerator, denominator);
}

namespace {

// n / unit with two decimals, rounded half to even.
QString TwoDecimals(std::int64_t n, std::int64_t unit) {
  const std::int64_t hundredths = RoundHalfEven(n, unit / 100);
  return QStringLiteral("%1%2%3")
      .arg(hundredths / 100)
      .arg(QLocale().decimalPoint())
      .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

QString FormatAmount(std::int64_t n, const char* bytes, const char* kilo, const char* mega) {
  if (n < 1000) return QString::number(n) + QLatin1String(bytes);
  if (n < 1000000) return TwoDecimals(n, 1000) + QLatin1String(kilo);
  return TwoDecimals(n, 1000000) + QLatin1String(mega);
}

}  // namespace

QString FormatSize(std::int64_t bytes) { return FormatAmount(bytes, " bytes", " Kb", " Mb"); }

QString FormatRate(std::int64_t bytesPerSecond) {
  return FormatAmount(bytesPerSecond, " bytes/sec", " Kb/sec", " Mb/sec");
}

QString FormatTimeLeft(std::int64_t elapsedMs, std::int64_t done, std::int64_t total) {
  if (done <= 0) return QString();
  const std::int64_t ms = RoundWide(static_cast<__int128>(elapsedMs) * (static_cast<__int128>(total) - done), done);
  const std::int64_t secs = RoundHalfEven(ms, 1000);
  const std::int64_t mins = RoundHalfEven(secs, 60);
  const std::int64_t hours = RoundHalfEven(mins, 60);
  if (mins == 0 && hours == 0) return QString::number(secs) + QStringLiteral(" sec.");
  if (hours > 0) return QStringLiteral("%1h %2").arg(mins / 60).arg(mins % 60);
  return QString::number(mins) + QStringLiteral(" minutes");
}

int PercentDone(std::int64_t done, std::int64_t total) {
  return static_cast<int>(RoundWide(static_cast<__int128>(done) * 100, total));
}

std::int64_t TransferRate(std::int64_t done, std::int64_t elapsedMs) {
  return RoundWide(static_cast<__int128>(done) * 1000, elapsedMs + 1);
}
