#include "roster_store.h"

#include "report_text.h"

namespace clan {
namespace {

unsigned char FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace

bool NameOrder::operator()(const std::string& a, const std::string& b) const {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const unsigned char x = FoldAscii(a[i]);
    const unsigned char y = FoldAscii(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // names that differ only in case are still two members
}

std::chrono::milliseconds KeepFor(const Member& member, const RosterLimits& limits) {
  return IsOfflineReport(member.server) ? limits.offlineLinger : limits.expire;
}

}  // namespace clan
