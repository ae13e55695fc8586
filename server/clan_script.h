// The clan's web script: answers a presence report given as the decoded keys
// of its query (values are Windows-1252 bytes). Any path is the script.
//
// - A request with a "name" key or "quickview=on" is a report. Its "pass" must
//   equal the clan password, or with "globalpost=on" the master password (no
//   master password configured: every master report is refused). A refused
//   report gets the body "AUTH_FAILED!" and records nothing.
// - An accepted report records name, server and map with the time of the
//   report in the clan roster, or with "globalpost=on" in the separate master
//   roster; an empty name records nothing. It is answered with the roster in
//   four-line records with "quickview=on", else with the HTML roster page.
// - Any other request (a browser following the website's link) gets the HTML
//   roster page, clan or master by "globalpost=on", and records nothing.
// - While the roster store can't be reached, a report or page is answered
//   with status 503 and records nothing: never a wrong roster.
// - The four-line answer is kept with the roster and changes with each
//   report only in the piece of the reporting member; it is shared by every
//   request answered with that roster, and so is the page, built once per
//   roster. When the answers not yet
//   sent hold `answerMemory` bytes, a new one is refused with status 503 (a
//   report is still recorded).
#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "answer_cache.h"
#include "answer_memory.h"
#include "query_text.h"
#include "roster_store.h"

namespace clan {

struct ScriptConfig {
  std::string clanPassword;                   // Windows-1252 bytes
  std::optional<std::string> masterPassword;  // none: master reports refused
  RosterLimits limits;
  std::size_t answerMemory = std::size_t{64} << 20;
};

struct Reply {
  Reply(int status, std::string_view contentType, AnswerRef body, std::string outcome);
  // An answer of a short text of its own.
  Reply(int status, std::string_view contentType, std::string text, std::string outcome);

  std::string Body() const { return body->Flatten(); }

  int status = 200;
  std::string contentType;
  AnswerRef body;       // never empty
  std::string outcome;  // one short word or phrase for the request log
};

// The two rosters a script keeps.
struct RosterStores {
  std::unique_ptr<RosterStore> clan;
  std::unique_ptr<RosterStore> master;
};

class ClanScript {
 public:
  // Keeps both rosters in memory.
  ClanScript(ScriptConfig config, Clock clock);
  ClanScript(ScriptConfig config, Clock clock, RosterStores stores);

  Reply Handle(const Query& query);

  // The memory that the answers not yet sent hold (also for their gzip form).
  AnswerMemory& Memory() { return answerMemory_; }

  // Puts a member into the clan roster that never expires (demo roster).
  // False when the store can't be reached; a reserved name is skipped.
  bool Seed(const std::string& name, const std::string& server, const std::string& map);

 private:
  // The page of one roster.
  struct Answers {
    explicit Answers(AnswerMemory& memory, bool master);
    AnswerCache page;
  };

  Reply Report(const Query& query, bool master);
  static Reply Answer(AnswerCache& cache, const Roster& roster, std::string_view contentType,
                      std::string outcome);
  static Reply HeldBack(std::string outcome);
  static Reply Unavailable();

  const ScriptConfig config_;
  const Clock clock_;
  RosterStores stores_;
  AnswerMemory answerMemory_;
  Answers clanAnswers_;
  Answers masterAnswers_;
};

}  // namespace clan
