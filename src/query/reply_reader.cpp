#include "query/reply_reader.h"

#include "query/binary_reply.h"
#include "query/text_reply.h"

namespace query {

std::unique_ptr<ReplyReader> MakeReplyReader(QueryProtocol protocol, QueryScope scope) {
  if (protocol == QueryProtocol::Binary) return std::make_unique<BinaryReplyReader>(scope);
  return std::make_unique<TextReplyReader>();
}

}  // namespace query
