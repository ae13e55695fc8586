// Reading a game log file into a LogReading.
//
// A reading that goes on where the last one stopped reads just what the log
// gained. A fresh reading of a whole log does not go through hundreds of
// megabytes line by line: only the lines from the last counting line on
// decide. It finds where the log's text ends (its first Ctrl-Z or its end)
// with one fast pass over the bytes, unless the caller knows it already (a
// whole copy of the log saw it on its way), then reads a window of the log's last
// bytes, doubled while no counting line lies in it. A log without one in its
// last TailWindows::most bytes is read line by line from its start. Either
// way the reading ends up as a reading from the start would.
#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>
#include <string>

#include "presence/relevant_log_line.h"

namespace presence {

// The first window of a log's end a fresh reading looks at, and the most it
// holds in memory at once before it reads the log from its start instead.
struct TailWindows {
  qint64 first = qint64(1) << 20;
  qint64 most = qint64(8) << 20;
};

// A line without a line end that grows longer than this is no line a game
// writes: a reading passes over it instead of holding it.
inline constexpr qint64 kLongestLine = qint64(64) << 10;

// Reads `path` from reading.ResumeAt() to its end into `reading`. A file
// that can't be opened, is no plain file, or is shorter than that, adds
// nothing. `textEnd`, when known, is the offset of the file's first Ctrl-Z,
// or its size when it has none. `mostHeld`, when given, gets the most bytes of the file the
// reading held in memory at once, if more than it holds already: about
// TailWindows::most, or a block of a megabyte and kLongestLine.
void ReadOnFromFile(const QString& path, LogReading& reading, TailWindows windows = {},
                    std::optional<qint64> textEnd = std::nullopt, qint64* mostHeld = nullptr);

// The last LoadMap or Exit line of a file; nullopt also when the file can't
// be opened.
std::optional<std::string> LastRelevantLineInFile(const QString& path);

}  // namespace presence
