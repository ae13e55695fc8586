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
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "clan_roster.h"
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

class ClanScript {
 public:
  ClanScript(ScriptConfig config, Clock clock);

  Reply Handle(const Query& query);

  // Puts a member into the clan roster that never expires (demo roster).
  void Seed(const std::string& name, const std::string& server, const std::string& map);

 private:
  Reply Report(const Query& query, bool master);
  static Reply Page(const std::vector<Member>& members, bool master, std::string outcome);

  const ScriptConfig config_;
  const Clock clock_;
  ClanRoster clan_;
  ClanRoster master_;
};

}  // namespace clan
