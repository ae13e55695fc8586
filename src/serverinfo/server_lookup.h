// What is known of one game server at a moment: its last answer (or the
// reason there was none) with that answer's age, and whether a query for
// it is under way.
#pragma once
#include <QtGlobal>
#include <optional>

#include "query/server_query.h"

namespace serverinfo {

struct ServerLookup {
  std::optional<query::QueryResult> result;  // none before the first answer
  qint64 ageMs = 0;                          // of `result`
  bool pending = false;                      // a query is in flight
};

}  // namespace serverinfo
