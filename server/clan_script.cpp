#include "clan_script.h"

#include "memory_roster.h"
#include "report_text.h"
#include "roster_answer.h"
#include "roster_page.h"

namespace clan {
namespace {

constexpr std::string_view kAnswerContentType = "text/plain; charset=windows-1252";

std::optional<std::string> Value(const Query& query, const std::string& key) {
  const auto found = query.lower_bound(key);  // the first of a repeated key
  if (found == query.end() || found->first != key) return std::nullopt;
  return found->second;
}

bool IsOn(const Query& query, const std::string& key) { return Value(query, key) == "on"; }

std::string Describe(Recorded recorded) {
  switch (recorded) {
    case Recorded::kAdded: return "added";
    case Recorded::kUpdated: return "updated";
    case Recorded::kRosterFull: return "not recorded, roster full";
  }
  return {};
}

}  // namespace

ClanScript::ClanScript(ScriptConfig config, Clock clock)
    : ClanScript(config, std::move(clock),
                 {std::make_unique<MemoryRoster>(config.limits),
                  std::make_unique<MemoryRoster>(config.limits)}) {}

ClanScript::ClanScript(ScriptConfig config, Clock clock, RosterStores stores)
    : config_(std::move(config)), clock_(std::move(clock)), stores_(std::move(stores)) {}

Reply ClanScript::Handle(const Query& query) {
  const bool master = IsOn(query, "globalpost");
  if (query.contains("name") || IsOn(query, "quickview")) return Report(query, master);
  auto& roster = master ? *stores_.master : *stores_.clan;
  const auto members = roster.Current(clock_());
  if (!members) return Unavailable();
  return Page(*members, master, "page");
}

Reply ClanScript::Unavailable() {
  // A client keeps the roster it has when the answer is not a success.
  return {503, "text/plain; charset=utf-8", "The roster store can't be reached; try again.\n",
          "store unavailable"};
}

Reply ClanScript::Page(const std::vector<Member>& members, bool master, std::string outcome) {
  const auto kind = master ? RosterKind::kMaster : RosterKind::kClan;
  return {200, std::string(kPageContentType), RosterPage(members, kind), std::move(outcome)};
}

Reply ClanScript::Report(const Query& query, bool master) {
  const std::optional<std::string> expected =
      master ? config_.masterPassword : std::optional(config_.clanPassword);
  if (!expected || Value(query, "pass").value_or("") != *expected) {
    return {200, std::string(kAnswerContentType), std::string(kRefusedAnswer), "refused"};
  }
  auto& roster = master ? *stores_.master : *stores_.clan;
  const TimePoint now = clock_();
  std::string outcome = "no name, not recorded";
  const std::string name = CleanValue(Value(query, "name").value_or(""));
  if (IsReservedName(name)) {
    outcome = "reserved name, not recorded";
  } else if (!name.empty()) {
    const Member member{name, CleanValue(Value(query, "server").value_or("")),
                        CleanValue(Value(query, "map").value_or("")), now};
    const auto recorded = roster.Report(member);
    if (!recorded) return Unavailable();
    outcome = Describe(*recorded);
  }
  const auto members = roster.Current(now);
  if (!members) return Unavailable();
  if (IsOn(query, "quickview")) {
    return {200, std::string(kAnswerContentType), RosterAnswer(*members), outcome};
  }
  return Page(*members, master, std::move(outcome));
}

bool ClanScript::Seed(const std::string& name, const std::string& server, const std::string& map) {
  if (IsReservedName(CleanValue(name))) return true;
  return stores_.clan->Pin({CleanValue(name), CleanValue(server), CleanValue(map), clock_()});
}

}  // namespace clan
