// The Engine 1 text reply on any datagrams (the input split at 0xFF bytes):
// no crash, the reply held stays bounded, and the answer holds no more
// players than a server can.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "query/internal/text_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  query::TextReplyReader reader;
  size_t start = 0;
  while (start <= input.size()) {
    const size_t end = std::min(input.find('\xFF', start), input.size());
    if (reader.Take(input.substr(start, end - start)) == query::ReplyReader::Progress::Failed) {
      if (reader.Error().isEmpty()) std::abort();
      break;
    }
    start = end + 1;
  }
  const query::ServerInfo info = reader.Answer();
  if (info.playerList.size() > query::kMaxPlayers || info.rules.size() > 4 * query::kMaxRules) std::abort();
  return 0;
}
