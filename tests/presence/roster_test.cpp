// Reading the clan script's answer into roster rows and the one-line summary.
#include <gtest/gtest.h>

#include "support/activity_lines.h"
#include "presence/roster.h"

using namespace presence;

namespace {

struct Case {
  const char* name;
  std::string answer;
  std::vector<RosterEntry> rows;
  QString summary;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ClanAnswer : public ::testing::TestWithParam<Case> {};

TEST_P(ClanAnswer, Parsed) {
  const Case& c = GetParam();
  const ClanRoster roster = ParseClanAnswer(c.answer, platform::ActivityLog());
  EXPECT_EQ(roster.entries, c.rows);
  EXPECT_EQ(roster.summary, c.summary);
}

const RosterEntry kKim{"Kim", "1.2.3.4:7777", "06.12.2026", "17:33"};
const RosterEntry kLee{"Lee", "Sucht Server...", "06.12.2026", "17:35"};
const RosterEntry kEmpty{};

INSTANTIATE_TEST_SUITE_P(
    Cases, ClanAnswer,
    ::testing::Values(
        Case{"TwoRecords",
             "Kim\r\n1.2.3.4:7777\r\n06.12.2026\r\n17:33\r\nLee\r\nSucht Server...\r\n06.12.2026\r\n17:35\r\n",
             {kKim, kLee}, "Quavik meldet: Kim (1.2.3.4:7777) Lee (Sucht Server...) "},
        Case{"LastLineWithoutLineEnd", "Kim\r\n1.2.3.4:7777\r\n06.12.2026\r\n17:33", {kKim},
             "Quavik meldet: Kim (1.2.3.4:7777) "},
        Case{"Empty", "", {kEmpty}, "Quavik meldet:  () "},
        Case{"FiveLines", "Kim\r\n1.2.3.4:7777\r\n06.12.2026\r\n17:33\r\nLee\r\n",
             {kKim, {"Lee", "", "", ""}}, "Quavik meldet: Kim (1.2.3.4:7777) Lee () "},
        Case{"BlankLineAfterLastRecord", "Kim\r\n1.2.3.4:7777\r\n06.12.2026\r\n17:33\r\n\r\n",
             {kKim, kEmpty}, "Quavik meldet: Kim (1.2.3.4:7777)  () "},
        Case{"LfOnlyIsOneLine", "Kim\n1.2.3.4\nx\ny\n", {{"Kim\n1.2.3.4\nx\ny\n", "", "", ""}},
             "Quavik meldet: Kim\n1.2.3.4\nx\ny\n () "},
        Case{"Windows1252", "J\xF6rg\r\n\x80\r\na\r\nb\r\n",
             {{QStringLiteral("Jörg"), QStringLiteral("€"), "a", "b"}},
             QStringLiteral("Quavik meldet: Jörg (€) ")},
        Case{"Refusal", "AUTH_FAILED!\r\n", {{"AUTH_FAILED!", "", "", ""}},
             "Quavik meldet: AUTH_FAILED! () "}),
    [](const auto& info) { return std::string(info.param.name); });

// A hostile or broken answer: the whole records that fit the caps are
// imported, and the log says the answer was cut.
TEST(ClanAnswer, OversizedAnswerIsCutToWholeRecords) {
  const std::string bigName(1000000, 'x');
  const struct {
    const char* name;
    std::string answer;
    size_t rows;
  } cases[] = {
      {"too many records", [] {
         std::string a;
         for (size_t i = 0; i <= kMaxRosterRecords; ++i) a += "P" + std::to_string(i) + "\r\ns\r\nt\r\nu\r\n";
         return a;
       }(), kMaxRosterRecords},
      {"too many bytes", [&] {
         std::string a;
         while (a.size() <= kMaxAnswerBytes) a += bigName + "\r\ns\r\nt\r\nu\r\n";
         return a;
       }(), 16},
      {"one endless line", std::string(kMaxAnswerBytes + 1, 'x'), 0},
  };
  for (const auto& c : cases) {
    testing_support::ActivityLines activity;
    const ClanRoster roster = ParseClanAnswer(c.answer, activity.Log());
    EXPECT_TRUE(roster.cut) << c.name;
    ASSERT_EQ(roster.entries.size(), c.rows) << c.name;
    if (c.rows > 0) {
      EXPECT_EQ(roster.entries.back().timestampPart2, "u") << c.name;
    }
    EXPECT_EQ(activity.Entries().back(),
              QStringLiteral("START Importiere in Clangrid: Antwort gekürzt auf %1 Einträge").arg(c.rows))
        << c.name;
  }
}

TEST(ClanAnswer, RowsAreNotLimited) {
  std::string answer;
  for (int i = 0; i < 300; ++i) answer += "P" + std::to_string(i) + "\r\ns\r\nt\r\nu\r\n";
  const ClanRoster roster = ParseClanAnswer(answer, platform::ActivityLog());
  ASSERT_EQ(roster.entries.size(), 300u);
  EXPECT_FALSE(roster.cut);
  EXPECT_EQ(roster.entries[299].name, "P299");
  EXPECT_EQ(kKim.TimestampCell(), "06.12.2026, 17:33");
  EXPECT_EQ(kEmpty.TimestampCell(), ", ");
}

TEST(ClanAnswer, OneLogLinePerRecord) {
  testing_support::ActivityLines activity;
  ParseClanAnswer("a\r\nb\r\nc\r\nd\r\ne\r\n", activity.Log());
  EXPECT_EQ(activity.Entries(), QStringList(2, "START Importiere in Clangrid: readln"));
}

TEST(MasterAnswer, RefusedOnlyByTheFirstLine) {
  const struct {
    std::string answer;
    bool refused;
  } cases[] = {
      {"AUTH_FAILED!\r\nx\r\n", true}, {"AUTH_FAILED!", true},   {"", false},
      {"ok\r\nAUTH_FAILED!\r\n", false}, {"AUTH_FAILED! \r\n", false}, {"auth_failed!", false},
      {"AUTH_FAILED!\nmore", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MasterAnswerRefused(c.answer), c.refused) << c.answer;
}

}  // namespace
