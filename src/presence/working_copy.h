// The working copy of the game log that every scan reads: a complete copy
// taken anew for each report. A log that can't be opened, or is no plain file
// (a pipe in its place, say, which is never waited on), leaves the previous
// working copy as it was.
//
// The copy goes through a small buffer that the copy also searches for the
// first Ctrl-Z (where the log's text ends), so a whole copy tells its reader
// that without another pass over hundreds of megabytes. A log only grows
// between reports, so an existing working copy is overwritten in place and
// cut to the log's length: its disk blocks and cached pages are reused
// instead of being freed and allocated again for hundreds of megabytes, and
// no file system flushes a file that replaced another. A working copy that is not a plain file of its
// own (a link, say) is replaced by a new copy written beside it.
// Should the copy break off halfway, the working copy is cut to what was
// copied: the beginning of the current log, never a mix of two logs.
//
// A log that has only grown since the last refresh has just its new bytes
// appended: it is the same file (device and inode), not shorter, its first
// and last 4 KiB up to the old length still equal the working copy's, and
// the working copy is the one that refresh left (same file, length and
// modification time). Anything else (a truncated log, a new log in its
// place, a working copy touched by someone else) takes the whole copy. Either
// way the working copy ends up byte for byte what the log holds.
#pragma once
#include <QString>
#include <optional>
#include <sys/types.h>
#include <time.h>

namespace presence {

// What a refresh left: where the working copy's bytes came from.
struct CopiedLog {
  dev_t logDevice = 0;
  ino_t logInode = 0;
  off_t length = 0;  // of the working copy, all of it copied from the log
  dev_t copyDevice = 0;
  ino_t copyInode = 0;
  timespec copyModified{};
};

enum class Refreshed { Failed, Whole, Appended };

// Brings `workingCopy` up to what `gameLog` holds, appending when `last` (the
// outcome of the previous refresh of this working copy) shows the log only
// grew. `last` is updated; it is cleared when the refresh failed. After a
// whole copy, `textEnd` (when given) holds where the copy's text ends: the
// offset of its first Ctrl-Z, or its length; otherwise it is empty.
Refreshed RefreshWorkingCopy(const QString& gameLog, const QString& workingCopy,
                             std::optional<CopiedLog>& last, std::optional<off_t>* textEnd = nullptr);

// True when `workingCopy` now holds exactly what `gameLog` held; always a
// whole copy.
bool RefreshWorkingCopy(const QString& gameLog, const QString& workingCopy);

}  // namespace presence
