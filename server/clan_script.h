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
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <memory>

#include "roster_store.h"
#include "query_text.h"

namespace clan {

struct ScriptConfig {
  std::string clanPassword;                   // Windows-1252 bytes
  std::optional<std::string> masterPassword;  // none: master reports refused
  RosterLimits limits;
};

struct Reply {
  int status = 200;
  std::string contentType;
  std::string body;
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

  // Puts a member into the clan roster that never expires (demo roster).
  // False when the store can't be reached; a reserved name is skipped.
  bool Seed(const std::string& name, const std::string& server, const std::string& map);

 private:
  Reply Report(const Query& query, bool master);
  static Reply Page(const std::vector<Member>& members, bool master, std::string outcome);
  static Reply Unavailable();

  const ScriptConfig config_;
  const Clock clock_;
  RosterStores stores_;
};

}  // namespace clan
