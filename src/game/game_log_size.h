// Start-up clean-up of an oversized game log: a log of 5 MiB (5,242,880
// bytes) or more is deleted whole; a smaller one, and a missing one, is left
// alone. The log is never shortened or rewritten.
#pragma once
#include <QString>
#include <cstdint>

#include "platform/os/activity_log.h"

namespace game {

// True when a log of `bytes` is over the limit: whole mebibytes above 4.
bool GameLogTooLarge(std::int64_t bytes);

// Deletes the log when it is too large, between the "Logsizecheck" START and
// END lines. A log that exists but can't be opened for reading and writing,
// measured or deleted raises platform::IoError naming the file.
void Logsizecheck(const QString& gameLogPath, const platform::ActivityLog& log);

}  // namespace game
