// What the clan roster says about its members: on which server one plays,
// and how many are online. "Sucht Server..." (running the program, in no
// game) and "offline" are placeholders, with or without their italic marks;
// an entry without a name is no member.
#pragma once
#include <QString>
#include <vector>

#include "presence/roster.h"

namespace presence {

// The server the entry names; empty for a placeholder or an empty place.
QString ServerOf(const RosterEntry& entry);

// Members whose place is anything but "offline"; none in a refused answer.
int MembersOnline(const std::vector<RosterEntry>& roster);

// True when the answer's first record is the script's password refusal.
bool IsRefusedRoster(const std::vector<RosterEntry>& roster);

}  // namespace presence
