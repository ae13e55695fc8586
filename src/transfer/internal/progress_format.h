// Texts and figures of the progress display. Sizes use decimal units
// (1 Kb = 1000 bytes) with two decimals and the user's decimal separator;
// every rounding goes to the nearest integer with halves to even.
#pragma once
#include <QString>
#include <cstdint>

// numerator / denominator rounded to the nearest integer, halves to even.
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// "999 bytes", "1.00 Kb", "1000.00 Kb", "1.00 Mb" (separator of the locale).
QString FormatSize(std::int64_t bytes);
// As FormatSize with " bytes/sec", " Kb/sec", " Mb/sec".
QString FormatRate(std::int64_t bytesPerSecond);
// Remaining time from the pace so far: "" before the first byte, "12 sec.",
// "30 minutes", "1h 30".
QString FormatTimeLeft(std::int64_t elapsedMs, std::int64_t done, std::int64_t total);

// Bar position 0..100 of done out of total (total > 0).
int PercentDone(std::int64_t done, std::int64_t total);
// Bytes per second of `done` bytes in `elapsedMs` (one millisecond added).
std::int64_t TransferRate(std::int64_t done, std::int64_t elapsedMs);
