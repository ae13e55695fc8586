#include "clan_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "fake_clock.h"

namespace clan {
namespace {

using namespace std::chrono_literals;
using clan::testing::FakeClock;
using clan::testing::Utc;

constexpr char kClanPass[] = "geheim";
constexpr char kMasterPass[] = "global";

Query Report(std::string name, std::string server, std::string pass = kClanPass) {
  return {{"name", std::move(name)}, {"ip", "Zephanor!"}, {"server", std::move(server)},
          {"map", "TO-Rapid"},       {"pass", std::move(pass)}, {"quickview", "on"}};
}

Query MasterReport(std::string name, std::string pass = kMasterPass) {
  Query query = Report(std::move(name), "10.0.0.1:7777", std::move(pass));
  query.emplace("globalpost", "on");
  return query;
}

// Splits an answer into its CR LF-ended lines; fails on a line end of any
// other kind, which the client would misread.
std::vector<std::string> Lines(const std::string& answer) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = answer.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(answer.substr(start, end - start));
  }
  EXPECT_EQ(start, answer.size()) << "answer does not end with CR LF";
  for (const auto& line : lines) EXPECT_EQ(line.find_first_of("\r\n\x1A"), std::string::npos);
  return lines;
}

std::vector<std::string> Names(const std::string& answer) {
  const auto lines = Lines(answer);
  EXPECT_EQ(lines.size() % 4, 0u);
  std::vector<std::string> names;
  for (size_t i = 0; i < lines.size(); i += 4) names.push_back(lines[i]);
  return names;
}

class ClanScriptTest : public ::testing::Test {
 protected:
  ClanScript MakeScript(RosterLimits limits = {}) {
    return ClanScript({kClanPass, kMasterPass, limits}, clock.AsClock());
  }

  FakeClock clock{Utc(2026, 12, 10, 17, 33, 57)};
  ClanScript script = MakeScript();
};

TEST_F(ClanScriptTest, AnswersTwoMembersAsExactBytes) {
  script.Handle(Report("J\xF6rg", "<i>Sucht Server...</i>"));
  clock.Advance(61s);
  const Reply reply = script.Handle(Report("Kim", "85.10.1.2:7777"));

  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.contentType, "text/plain; charset=windows-1252");
  EXPECT_EQ(reply.Body(),
            "J\xF6rg\r\nSucht Server...\r\n10.12.2026\r\n17:33:57\r\n"
            "Kim\r\n85.10.1.2:7777\r\n10.12.2026\r\n17:34:58\r\n");
}

TEST_F(ClanScriptTest, PasswordDecidesAndEachRosterHasItsOwn) {
  struct Case {
    const char* what;
    Query query;
    bool refused;
  };
  Query noPass = Report("Kim", "a");
  noPass.erase("pass");
  const Case cases[] = {
      {"clan, right password", Report("Kim", "a"), false},
      {"clan, wrong password", Report("Kim", "a", "falsch"), true},
      {"clan, master password", Report("Kim", "a", kMasterPass), true},
      {"clan, password with other case", Report("Kim", "a", "GEHEIM"), true},
      {"clan, no pass key", noPass, true},
      {"clan, empty password", Report("Kim", "a", ""), true},
      {"master, right password", MasterReport("Kim"), false},
      {"master, clan password", MasterReport("Kim", kClanPass), true},
      {"quickview without name", {{"pass", "x"}, {"quickview", "on"}}, true},
  };
  for (const auto& c : cases) {
    ClanScript fresh = MakeScript();
    const Reply reply = fresh.Handle(c.query);
    EXPECT_EQ(reply.Body() == "AUTH_FAILED!", c.refused) << c.what << ": " << reply.Body();
    if (c.refused) {
      // Nothing of a refused report may reach either roster.
      EXPECT_EQ(fresh.Handle(Report("Lee", "b")).Body().find("Kim"), std::string::npos) << c.what;
      EXPECT_EQ(fresh.Handle(MasterReport("Lee")).Body().find("Kim"), std::string::npos) << c.what;
    }
  }
}

TEST_F(ClanScriptTest, ListsMembersByNameWhateverTheirCase) {
  for (const char* name : {"zed", "Bob", "alice", "Carl"}) script.Handle(Report(name, "a"));
  EXPECT_EQ(Names(script.Handle(Report("bea", "a")).Body()),
            (std::vector<std::string>{"alice", "bea", "Bob", "Carl", "zed"}));
}

TEST_F(ClanScriptTest, MasterRosterIsSeparateFromClanRoster) {
  script.Handle(Report("ClanOnly", "a"));
  script.Handle(MasterReport("MasterOnly"));
  EXPECT_EQ(Names(script.Handle(Report("Kim", "a")).Body()),
            (std::vector<std::string>{"ClanOnly", "Kim"}));
  EXPECT_EQ(Names(script.Handle(MasterReport("Lee")).Body()),
            (std::vector<std::string>{"Lee", "MasterOnly"}));
}

TEST_F(ClanScriptTest, WithoutMasterPasswordEveryMasterReportIsRefused) {
  ClanScript clanOnly({kClanPass, std::nullopt, {}}, clock.AsClock());
  EXPECT_EQ(clanOnly.Handle(MasterReport("Kim", "")).Body(), "AUTH_FAILED!");
  EXPECT_EQ(clanOnly.Handle(MasterReport("Kim", kMasterPass)).Body(), "AUTH_FAILED!");
  EXPECT_NE(clanOnly.Handle(Report("Kim", "a")).Body(), "AUTH_FAILED!");
}

TEST_F(ClanScriptTest, ShowsServerWithoutItalicMarks) {
  const std::pair<std::string, std::string> cases[] = {
      {"<i>Sucht Server...</i>", "Sucht Server..."},
      {"<i>offline</i>", "offline"},
      {"85.10.1.2:7777", "85.10.1.2:7777"},
      {"<b>bold</b><i>", "<b>bold</b>"},
      {"<<i>i>offline<</i>/i>", "offline"},  // no marks left over from nested ones
      {"<</i>/i><<<i>i>i>", ""},
  };
  for (const auto& [reported, shown] : cases) {
    const auto lines = Lines(script.Handle(Report("Kim", reported)).Body());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], shown) << reported;
  }
}

TEST_F(ClanScriptTest, DropsMemberOnceItsLastReportIsTooOld) {
  struct Case {
    const char* lastServer;
    std::chrono::seconds keptFor;
  };
  const Case cases[] = {
      {"85.10.1.2:7777", 15min},          // stopped reporting (crash, lost connection)
      {"<i>Sucht Server...</i>", 15min},
      {"<i>offline</i>", 5min},           // logged out: lingers, then dropped
  };
  for (const auto& c : cases) {
    ClanScript fresh = MakeScript();
    fresh.Handle(Report("Gone", "85.10.1.2:7777"));
    clock.Advance(10min);
    fresh.Handle(Report("Gone", c.lastServer));
    clock.Advance(c.keptFor);
    EXPECT_EQ(Names(fresh.Handle(Report("Kim", "a")).Body()),
              (std::vector<std::string>{"Gone", "Kim"})) << c.lastServer;
    clock.Advance(1s);
    EXPECT_EQ(Names(fresh.Handle(Report("Kim", "a")).Body()), std::vector<std::string>{"Kim"})
        << c.lastServer;
  }
}

TEST_F(ClanScriptTest, ReportAfterOfflineListsMemberAgainWithFullExpiry) {
  script.Handle(Report("Back", "<i>offline</i>"));
  clock.Advance(1min);
  script.Handle(Report("Back", "<i>Sucht Server...</i>"));
  clock.Advance(10min);
  EXPECT_EQ(Names(script.Handle(Report("Kim", "a")).Body()),
            (std::vector<std::string>{"Back", "Kim"}));
}

TEST_F(ClanScriptTest, SeededMemberStaysUntilItReportsItself) {
  script.Seed("Demo", "85.10.1.2:7777", "TO-Rapid");
  script.Seed("AUTH_FAILED!", "a", "b");  // would log every client out
  clock.Advance(24h);
  const auto lines = Lines(script.Handle(Report("Kim", "a")).Body());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Demo");
  EXPECT_EQ(lines[2], "10.12.2026");  // seeded at start

  script.Handle(Report("Demo", "<i>offline</i>"));
  clock.Advance(5min + 1s);
  EXPECT_EQ(Names(script.Handle(Report("Kim", "a")).Body()), std::vector<std::string>{"Kim"});
}

TEST_F(ClanScriptTest, BadValuesCannotBreakTheAnswer) {
  struct Case {
    const char* what;
    Query query;
    std::vector<std::string> expectedLines;  // the first record
  };
  const std::string huge(100000, 'x');
  const std::string capped(256, 'x');
  Query noServer = Report("Kim", "");
  noServer.erase("server");
  noServer.erase("map");
  const Case cases[] = {
      {"missing server and map", noServer, {"Kim", ""}},
      {"huge values are cut", Report(huge, huge), {capped, capped}},
      {"line ends inside values", Report("Evil\r\nAUTH_FAILED!", "a\nb\rc"),
       {"Evil  AUTH_FAILED!", "a b c"}},
      {"Ctrl-Z and other controls", Report("Z\x1A\x01\x7F", "\t"), {"Z   ", " "}},
  };
  for (const auto& c : cases) {
    ClanScript fresh = MakeScript();
    const auto lines = Lines(fresh.Handle(c.query).Body());
    ASSERT_EQ(lines.size(), 4u) << c.what;
    EXPECT_EQ(lines[0], c.expectedLines[0]) << c.what;
    EXPECT_EQ(lines[1], c.expectedLines[1]) << c.what;
  }
}

TEST_F(ClanScriptTest, ReportsWithoutUsableNameRecordNothing) {
  Query noName = Report("", "a");
  noName.erase("name");
  const Query queries[] = {noName, Report("", "a"), Report("AUTH_FAILED!", "a")};
  for (const auto& query : queries) {
    const Reply reply = script.Handle(query);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.Body(), "");
  }
}

TEST_F(ClanScriptTest, AnAnswerIsBuiltOncePerRosterAndSharedUntilItChanges) {
  script.Handle(Report("Kim", "a"));
  const Query poll = {{"pass", kClanPass}, {"quickview", "on"}};  // records nothing
  const Reply answer = script.Handle(poll);
  const Reply page = script.Handle({});
  EXPECT_EQ(script.Handle(poll).body, answer.body);
  EXPECT_EQ(script.Handle({}).body, page.body);
  EXPECT_EQ(script.Handle({{"globalpost", "on"}}).Body().find("Kim"), std::string::npos);

  EXPECT_EQ(Names(script.Handle(Report("Lee", "a")).Body()),
            (std::vector<std::string>{"Kim", "Lee"}));
  EXPECT_EQ(Names(answer.Body()), std::vector<std::string>{"Kim"});  // a body never changes
  EXPECT_NE(script.Handle({}).Body(), page.Body());
}

TEST_F(ClanScriptTest, AnswersNotYetSentAreBoundedAllTogether) {
  // Each report changes the roster and so its answer (42 bytes a member);
  // the replies kept here stand for answers their clients never read.
  ClanScript bounded({kClanPass, kMasterPass, {}, 16 * 1024}, clock.AsClock());
  std::vector<Reply> unsent;
  int refused = 0;
  for (int i = 0; i < 60; ++i) {
    unsent.push_back(bounded.Handle(Report("m" + std::to_string(100 + i), "1.2.3.4:7777")));
    if (unsent.back().status == 503) ++refused;
  }
  EXPECT_GT(refused, 20);
  EXPECT_EQ(unsent.back().status, 503);
  EXPECT_EQ(unsent.back().outcome, "added, answer held back: answers at their memory bound");
  size_t held = 0;
  for (size_t i = 0; i < unsent.size(); ++i) {
    if (unsent[i].status == 200 && (i == 0 || unsent[i].body != unsent[i - 1].body)) {
      held += unsent[i].Body().size();
    }
  }
  EXPECT_LE(held, 16u * 1024);

  unsent.clear();  // sent at last: every report was recorded
  const Reply reply = bounded.Handle(Report("m999", "1.2.3.4:7777"));
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(Names(reply.Body()).size(), 61u);
}

TEST_F(ClanScriptTest, KeepsThousandsOfMembersUpToTheLimit) {
  ClanScript limited = MakeScript({.maxMembers = 3000});
  for (int i = 0; i < 3000; ++i) limited.Handle(Report("m" + std::to_string(10000 + i), "a"));
  EXPECT_EQ(limited.Handle(Report("late", "a")).outcome, "not recorded, roster full");
  EXPECT_EQ(limited.Handle(Report("m10000", "b")).outcome, "updated");
  EXPECT_EQ(Names(limited.Handle(Report("m10001", "a")).Body()).size(), 3000u);

  clock.Advance(15min + 1s);  // all expired: room again
  const Reply reply = limited.Handle(Report("late", "a"));
  EXPECT_EQ(reply.outcome, "added");
  EXPECT_EQ(Names(reply.Body()), std::vector<std::string>{"late"});
}

TEST_F(ClanScriptTest, PageEscapesAndConvertsTheRoster) {
  script.Handle(Report("<b>J\xF6rg</b> & \"Co\"", "<i>Sucht Server...</i><script>"));
  const Reply page = script.Handle({});

  EXPECT_EQ(page.contentType, "text/html; charset=utf-8");
  EXPECT_NE(page.Body().find("&lt;b&gt;J\xC3\xB6rg&lt;/b&gt; &amp; &quot;Co&quot;"), std::string::npos);
  EXPECT_NE(page.Body().find("Sucht Server...&lt;script&gt;"), std::string::npos);
  EXPECT_EQ(page.Body().find("<script>"), std::string::npos);
  EXPECT_NE(page.Body().find("10.12.2026 17:33:57"), std::string::npos);
}

// The rules of the page's style sheet whose selector list names `element`.
std::vector<std::string> StyleRulesFor(const std::string& page, const std::string& element) {
  const size_t begin = page.find("<style>");
  const size_t end = page.find("</style>");
  std::vector<std::string> rules;
  if (begin == std::string::npos || end == std::string::npos) return rules;
  const std::string sheet = page.substr(begin + 7, end - begin - 7);
  const std::regex rule("([^{}]*)\\{([^}]*)\\}");
  for (std::sregex_iterator at(sheet.begin(), sheet.end(), rule), last; at != last; ++at) {
    std::string selectors = (*at)[1];
    std::erase(selectors, ' ');
    std::stringstream list(selectors);
    for (std::string selector; std::getline(list, selector, ',');) {
      selector.erase(0, selector.find_first_not_of("\n"));
      if (selector == element) rules.push_back((*at)[2]);
    }
  }
  return rules;
}

TEST_F(ClanScriptTest, PageWrapsALongNameInsteadOfWideningTheTable) {
  const std::string longName(200, 'W');
  script.Handle(Report(longName, "a"));
  const std::string page = script.Handle({}).Body();

  EXPECT_NE(page.find("<td>" + longName + "</td>"), std::string::npos);
  const auto cellRules = StyleRulesFor(page, "td");
  EXPECT_TRUE(std::ranges::any_of(cellRules, [](const std::string& body) {
    return body.find("overflow-wrap: anywhere") != std::string::npos;
  })) << page;
  EXPECT_NE(page.find("<meta name=\"viewport\" content=\"width=device-width"), std::string::npos);
}

TEST_F(ClanScriptTest, PageNeedsNoPasswordAndRecordsNothing) {
  script.Handle(Report("Kim", "a"));
  script.Handle(MasterReport("Lee"));

  const Reply clanPage = script.Handle({{"pass", "falsch"}});
  EXPECT_NE(clanPage.Body().find("Kim"), std::string::npos);
  EXPECT_EQ(clanPage.Body().find("Lee"), std::string::npos);
  const Reply masterPage = script.Handle({{"globalpost", "on"}});
  EXPECT_NE(masterPage.Body().find("Lee"), std::string::npos);
  EXPECT_EQ(masterPage.Body().find("Kim"), std::string::npos);
}

TEST_F(ClanScriptTest, ReportWithoutQuickviewRecordsAndAnswersThePage) {
  Query query = Report("Kim", "a");
  query.erase("quickview");
  EXPECT_EQ(script.Handle(query).contentType, "text/html; charset=utf-8");
  EXPECT_EQ(Names(script.Handle(Report("Lee", "a")).Body()),
            (std::vector<std::string>{"Kim", "Lee"}));
  query.find("pass")->second = "falsch";
  EXPECT_EQ(script.Handle(query).Body(), "AUTH_FAILED!");
}

}  // namespace
}  // namespace clan
