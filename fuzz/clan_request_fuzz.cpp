// The clan server's request handling on any query text: parsing and
// answering never leave the request's bytes, and an answer is always one of
// the statuses the script gives.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "clan_script.h"
#include "query_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static clan::ClanScript script(clan::ScriptConfig{"pw", std::string("master"), {}},
                                 [] { return clan::TimePoint(std::chrono::hours(500000)); });
  const std::string_view query(reinterpret_cast<const char*>(data), size);
  const clan::Reply reply = script.Handle(clan::ParseQuery(query));
  if (reply.status != 200 && reply.status != 503) std::abort();
  (void)clan::DecodeUrlText(query, true);
  return 0;
}
