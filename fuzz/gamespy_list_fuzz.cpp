// The GameSpy-style master conversation on any bytes (the input split at
// 0xFF bytes into what arrives at once; a last byte 0x00 stands for the
// master's close): no crash, a failure always says why, the caps hold,
// every entry kept is a usable address, and once ended nothing more counts.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "master/gamespy_conversation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const bool closes = !input.empty() && input.back() == '\0';
  if (closes) input.remove_suffix(1);
  constexpr int kMaxEntries = 64;
  master::GamespyConversation conversation(*master::FindGamespyGame("ut"), master::GamespyLimits{4096, kMaxEntries});
  using Progress = master::MasterConversation::Progress;
  Progress progress = Progress::Waiting;
  int answers = 0;
  size_t start = 0;
  while (start <= input.size()) {
    const size_t end = std::min(input.find('\xFF', start), input.size());
    const Progress before = progress;
    progress = conversation.Take(input.substr(start, end - start));
    if (before != Progress::Waiting && progress != before) std::abort();
    const QByteArray outgoing = conversation.TakeOutgoing();
    if (!outgoing.isEmpty()) {
      if (++answers > 1 || !outgoing.startsWith("\\gamename\\ut\\location\\0\\validate\\")) std::abort();
    }
    start = end + 1;
  }
  if (closes) {
    const Progress before = progress;
    progress = conversation.Closed();
    if (before != Progress::Waiting && progress != before) std::abort();
  }
  if (progress == Progress::Failed && conversation.Error().isEmpty()) std::abort();
  const std::vector<master::ServerEntry> entries = conversation.TakeEntries();
  if (entries.size() > size_t(kMaxEntries)) std::abort();
  for (const master::ServerEntry& entry : entries) {
    if (entry.queryPort == 0 || entry.address.split('.').size() != 4) std::abort();
  }
  return 0;
}
