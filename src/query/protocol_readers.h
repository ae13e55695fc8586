// The reply reader of each query protocol: the one place that knows them all.
#pragma once
#include <memory>

#include "query/reply_reader.h"

namespace query {

std::unique_ptr<ReplyReader> MakeReplyReader(QueryProtocol protocol, QueryScope scope = QueryScope::Everything);

}  // namespace query
