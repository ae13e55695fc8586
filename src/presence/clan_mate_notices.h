// Which clan mates deserve a desktop notice after a roster import: a member
// who has come online on a server, or who has moved to another server, gives
// one notice. None come from the first roster after a login (it is the
// baseline, not news), from a refused answer, from the player's own entry
// (names compared without regard to letter case), from an entry without a
// name, or from an entry that is on no server: empty, or one of the
// placeholders "Sucht Server..." and "offline", with or without their
// italic marks. A member listed twice counts once, at his first row.
#pragma once
#include <QString>
#include <vector>

#include "presence/roster.h"

namespace presence {

std::vector<QString> ClanMateNotices(const std::vector<RosterEntry>& previous,
                                     const std::vector<RosterEntry>& current, const QString& ownName,
                                     bool firstAfterLogin);

}  // namespace presence
