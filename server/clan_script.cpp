#include "clan_script.h"

#include "memory_roster.h"
#include "report_text.h"
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

Reply::Reply(int status, std::string_view contentType, AnswerRef body, std::string outcome)
    : status(status), contentType(contentType), body(std::move(body)), outcome(std::move(outcome)) {}

Reply::Reply(int status, std::string_view contentType, std::string text, std::string outcome)
    : Reply(status, contentType, AnswerText::Of(std::move(text)), std::move(outcome)) {}

ClanScript::Answers::Answers(AnswerMemory& memory, bool master)
    : page(memory,
           [kind = master ? RosterKind::kMaster : RosterKind::kClan](
               const std::vector<Member>& members) { return RosterPage(members, kind); }) {}

ClanScript::ClanScript(ScriptConfig config, Clock clock, RosterStores stores)
    : config_(std::move(config)),
      clock_(std::move(clock)),
      stores_(std::move(stores)),
      answerMemory_(config_.answerMemory),
      clanAnswers_(answerMemory_, false),
      masterAnswers_(answerMemory_, true) {}

Reply ClanScript::Handle(const Query& query) {
  const bool master = IsOn(query, "globalpost");
  if (query.contains("name") || IsOn(query, "quickview")) return Report(query, master);
  auto& roster = master ? *stores_.master : *stores_.clan;
  const Roster members = roster.Current(clock_());
  if (!members) return Unavailable();
  return Answer((master ? masterAnswers_ : clanAnswers_).page, members, kPageContentType, "page");
}

Reply ClanScript::Unavailable() {
  // A client keeps the roster it has when the answer is not a success.
  return {503, "text/plain; charset=utf-8", "The roster store can't be reached; try again.\n",
          "store unavailable"};
}

Reply ClanScript::Answer(AnswerCache& cache, const Roster& roster, std::string_view contentType,
                         std::string outcome) {
  if (AnswerRef body = cache.For(roster)) return {200, contentType, std::move(body), outcome};
  return HeldBack(std::move(outcome));
}

Reply ClanScript::HeldBack(std::string outcome) {
  return {503, "text/plain; charset=utf-8", "Too many answers are still being sent; try again.\n",
          outcome + ", answer held back: answers at their memory bound"};
}

Reply ClanScript::Report(const Query& query, bool master) {
  const std::optional<std::string> expected =
      master ? config_.masterPassword : std::optional(config_.clanPassword);
  if (!expected || Value(query, "pass").value_or("") != *expected) {
    return {200, kAnswerContentType, std::string(kRefusedAnswer), "refused"};
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
  if (IsOn(query, "quickview")) {
    const LinesAnswer lines = roster.Lines(now, answerMemory_);
    if (!lines.reachable) return Unavailable();
    if (!lines.text) return HeldBack(std::move(outcome));
    return {200, kAnswerContentType, lines.text, std::move(outcome)};
  }
  const Roster members = roster.Current(now);
  if (!members) return Unavailable();
  Answers& answers = master ? masterAnswers_ : clanAnswers_;
  return Answer(answers.page, members, kPageContentType, std::move(outcome));
}

bool ClanScript::Seed(const std::string& name, const std::string& server, const std::string& map) {
  if (IsReservedName(CleanValue(name))) return true;
  return stores_.clan->Pin({CleanValue(name), CleanValue(server), CleanValue(map), clock_()});
}

}  // namespace clan
