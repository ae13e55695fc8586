// The clan script's answer, as a hostile server may send it: the import
// stays within its caps and never reads past the answer.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "presence/roster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view answer(reinterpret_cast<const char*>(data), size);
  const presence::ClanRoster roster = presence::ParseClanAnswer(answer, platform::ActivityLog());
  if (roster.entries.empty() && !roster.cut) std::abort();  // an answer always gives a row
  if (roster.entries.size() > presence::kMaxRosterRecords) std::abort();
  (void)presence::MasterAnswerRefused(answer);
  return 0;
}
