// The Engine 2 binary reply on any datagrams (the input split at the byte
// sequence "\xFE\xFE"): no read past a datagram, no crash, and the answer
// stays within the player and rule limits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "query/internal/binary_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  query::BinaryReplyReader reader;
  size_t start = 0;
  while (start <= input.size()) {
    const size_t end = std::min(input.find("\xFE\xFE", start), input.size());
    if (reader.Take(input.substr(start, end - start)) == query::ReplyReader::Progress::Failed) {
      if (reader.Error().isEmpty()) std::abort();
      break;
    }
    start = end + 2;
  }
  const query::ServerInfo info = reader.Answer();
  if (info.playerList.size() > query::kMaxPlayers || info.rules.size() > query::kMaxRules) std::abort();
  return 0;
}
