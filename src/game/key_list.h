// The keys a roster script can be bound to, in the order of the three key
// lists (the stored settings count on these indexes):
//   0 " " (no key), 1-26 "A"-"Z", 27-36 "0"-"9", 37-48 "F1"-"F12".
// The entry text is the key name written into the game's user INI.
#pragma once
#include <QStringList>

#include "platform/os/activity_log.h"

namespace game {

constexpr int kKeyListSize = 49;

QStringList KeyListEntries();

// The entries, between the "GenKeyBind" START and END lines.
QStringList GenKeyBind(const platform::ActivityLog& log);

}  // namespace game
