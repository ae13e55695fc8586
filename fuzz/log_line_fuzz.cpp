// The game log scanner's line rule on any log text: reading a log in one
// piece and reading it in two (the second from where the first stopped, as
// for a log that grew) find the same lines.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "presence/relevant_log_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const auto format = (data[0] & 1) ? presence::LogFormat::BrowseAndLevel : presence::LogFormat::LoadMap;
  const size_t cut = data[1] % size;
  const std::string_view log(reinterpret_cast<const char*>(data) + 2, size - 2);

  presence::LogReading whole(format);
  whole.Read(log);

  presence::LogReading grown(format);
  grown.Read(log.substr(0, std::min(cut, log.size())));
  const auto resume = static_cast<size_t>(grown.ResumeAt());
  if (resume > log.size()) std::abort();
  grown.Read(log.substr(resume));
  if (!(grown.Result() == whole.Result())) std::abort();
  return 0;
}
