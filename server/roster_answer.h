// The roster as the client imports it: four lines per member (name, where
// the member is online, date of the last report, time of the last report),
// each line ending in CR LF, Windows-1252 bytes, no header and no count.
// No members give an empty text.
#pragma once
#include <string>
#include <vector>

#include "roster_store.h"

namespace clan {

// One member's four lines.
std::string AnswerRecord(const Member& member);

std::string RosterAnswer(const std::vector<Member>& members);

}  // namespace clan
