// The notice decision as a table of roster pairs: what the previous and the
// new roster hold, who the player is, and whether this is the first roster
// after a login.
#include <gtest/gtest.h>

#include "presence/clan_mate_notices.h"

using presence::ClanMateNotices;
using presence::RosterEntry;

namespace {

using Roster = std::vector<RosterEntry>;
RosterEntry On(const char* name, const char* where) { return {name, where, "2024-05-01", "20:15"}; }

struct NoticeCase {
  const char* name;
  Roster previous;
  Roster current;
  bool first;
  std::vector<QString> expected;
};

void PrintTo(const NoticeCase& c, std::ostream* os) { *os << c.name; }

class ClanMateNoticesTest : public testing::TestWithParam<NoticeCase> {};

TEST_P(ClanMateNoticesTest, Decides) {
  const NoticeCase& c = GetParam();
  EXPECT_EQ(ClanMateNotices(c.previous, c.current, QStringLiteral("Me"), c.first), c.expected);
}

const NoticeCase kCases[] = {
    {"NewMemberOnAServer", {On("Me", "1.1.1.1:7777")}, {On("Me", "1.1.1.1:7777"), On("Kim", "10.0.0.5:7777")},
     false, {"Kim ist online: 10.0.0.5:7777"}},
    {"FirstRosterAfterLoginIsTheBaseline", {}, {On("Kim", "10.0.0.5:7777")}, true, {}},
    {"NothingChanged", {On("Kim", "10.0.0.5:7777")}, {On("Kim", "10.0.0.5:7777")}, false, {}},
    {"MoveToAnotherServer", {On("Kim", "10.0.0.5:7777")}, {On("Kim", "10.0.0.9:7777")}, false,
     {"Kim spielt jetzt auf 10.0.0.9:7777"}},
    {"FromSearchingOntoAServer", {On("Kim", "Sucht Server...")}, {On("Kim", "10.0.0.5:7777")}, false,
     {"Kim ist online: 10.0.0.5:7777"}},
    {"FromOfflineWithMarksOntoAServer", {On("Kim", "<i>offline</i>")}, {On("Kim", "10.0.0.5:7777")}, false,
     {"Kim ist online: 10.0.0.5:7777"}},
    {"PlaceholdersGiveNone",
     {},
     {On("Kim", "Sucht Server..."), On("Lee", "offline"), On("Ann", "<i>Sucht Server...</i>"), On("Bo", "")},
     false,
     {}},
    {"LeavingAServerGivesNone", {On("Kim", "10.0.0.5:7777")}, {On("Kim", "offline")}, false, {}},
    {"GoneFromTheRosterGivesNone", {On("Kim", "10.0.0.5:7777")}, {}, false, {}},
    {"OwnEntryInAnyLetterCaseGivesNone", {}, {On("ME", "10.0.0.5:7777"), On("me", "10.0.0.6:7777")}, false, {}},
    {"EmptyNamesGiveNone", {}, {On("", "10.0.0.5:7777"), On("  ", "10.0.0.6:7777")}, false, {}},
    {"RefusedAnswerGivesNone", {}, {On("AUTH_FAILED!", "10.0.0.5:7777"), On("Kim", "1.2.3.4")}, false, {}},
    {"NamesMatchWithoutRegardToCase", {On("kim", "10.0.0.5:7777")}, {On("Kim", "10.0.0.5:7777")}, false, {}},
    {"MemberListedTwiceCountsOnceAtTheFirstRow",
     {},
     {On("Kim", "10.0.0.5:7777"), On("Kim", "10.0.0.6:7777")},
     false,
     {"Kim ist online: 10.0.0.5:7777"}},
    {"MemberListedTwiceBeforeWasWhereHisFirstRowSays",
     {On("Kim", "10.0.0.5:7777"), On("Kim", "10.0.0.6:7777")},
     {On("Kim", "10.0.0.5:7777")},
     false,
     {}},
    {"SeveralInRosterOrder",
     {On("Lee", "10.0.0.1:7777")},
     {On("Ann", "10.0.0.2:7777"), On("Lee", "10.0.0.3:7777"), On("Bo", "10.0.0.2:7777")},
     false,
     {"Ann ist online: 10.0.0.2:7777", "Lee spielt jetzt auf 10.0.0.3:7777", "Bo ist online: 10.0.0.2:7777"}},
    {"PercentSignsInANameStayAsTheyAre", {}, {On("%1%2", "10.0.0.5:7777")}, false,
     {"%1%2 ist online: 10.0.0.5:7777"}},
};

INSTANTIATE_TEST_SUITE_P(Roster, ClanMateNoticesTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Across imports: a login's first roster is its baseline, the logout's last
// answer is no news, and the next login starts from its own first roster.
TEST(ClanMateWatch, EachLoginStartsFromItsOwnFirstRoster) {
  presence::ClanMateWatch watch;
  const Roster kim{On("Kim", "10.0.0.5:7777")};
  const Roster kimAndLee{On("Kim", "10.0.0.5:7777"), On("Lee", "10.0.0.6:7777")};
  const Roster leeMoved{On("Lee", "10.0.0.7:7777")};
  struct Step {
    bool loggedIn;
    Roster roster;
    std::vector<QString> expected;
  };
  const Step steps[] = {
      {true, kim, {}},
      {true, kimAndLee, {"Lee ist online: 10.0.0.6:7777"}},
      {false, leeMoved, {}},
      {true, kim, {}},
      {true, kimAndLee, {"Lee ist online: 10.0.0.6:7777"}},
  };
  int index = 0;
  for (const Step& step : steps) {
    watch.LoginShown(step.loggedIn);
    EXPECT_EQ(watch.RosterShown(step.roster, QStringLiteral("Me"), step.loggedIn), step.expected) << "step " << index;
    EXPECT_EQ(watch.Shown(), step.roster);
    ++index;
  }
}

}  // namespace
