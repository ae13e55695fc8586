// The working copy of the game log that every scan reads: a complete copy
// taken anew for each report. A log that can't be opened leaves the previous
// working copy as it was.
//
// The copy is made in the kernel. A log only grows between reports, so an
// existing working copy is overwritten in place and cut to the log's length:
// its disk blocks and cached pages are reused instead of being freed and
// allocated again for hundreds of megabytes, and no file system flushes a
// file that replaced another. A working copy that is not a plain file of its
// own (a link, say) is replaced by a new copy written beside it.
// Should the copy break off halfway, the working copy is cut to what was
// copied: the beginning of the current log, never a mix of two logs.
#pragma once
#include <QString>

namespace presence {

// True when `workingCopy` now holds exactly what `gameLog` held.
bool RefreshWorkingCopy(const QString& gameLog, const QString& workingCopy);

}  // namespace presence
