#include "query/protocol_readers.h"

#include "query/internal/binary_reply.h"
#include "query/internal/text_reply.h"

namespace query {

std::unique_ptr<ReplyReader> MakeReplyReader(QueryProtocol protocol, QueryScope scope) {
  if (protocol == QueryProtocol::Binary) return std::make_unique<BinaryReplyReader>(scope);
  return std::make_unique<TextReplyReader>();
}

}  // namespace query
