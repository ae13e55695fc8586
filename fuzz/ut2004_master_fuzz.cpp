// The UT 2004 master conversation on any bytes from the master, taken in
// segments split at "\xFE\xFE": no crash, no read past the input, a failure
// always says why, and every entry read is usable (an address and both
// ports).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "master/internal/ut2004_conversation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  master::Ut2004Conversation conversation(master::Ut2004Credentials::Placeholder(), "xDeathMatch");
  using Progress = master::MasterConversation::Progress;
  Progress progress = Progress::Waiting;
  size_t start = 0;
  while (start <= input.size() && progress == Progress::Waiting) {
    const size_t end = std::min(input.find("\xFE\xFE", start), input.size());
    progress = conversation.Take(input.substr(start, end - start));
    conversation.TakeOutgoing();
    start = end + 2;
  }
  if (progress == Progress::Waiting) progress = conversation.Closed();
  if (progress == Progress::Failed && conversation.Error().isEmpty()) std::abort();
  for (const master::ServerEntry& entry : conversation.TakeEntries()) {
    if (entry.address.isEmpty() || entry.gamePort == 0 || entry.queryPort == 0) std::abort();
  }
  return 0;
}
