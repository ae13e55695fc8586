// The last relevant game log line, found from the end, must be the one the
// forward reading rule finds, whatever mix of line ends and Ctrl-Z the log
// holds.
#include <gtest/gtest.h>

#include <random>

#include "platform/text_file.h"
#include "presence/relevant_log_line.h"
#include "support/temp_dir.h"

using presence::LastRelevantLine;
using presence::LastRelevantLineInFile;

namespace {

// The forward rule, spelled out plainly.
std::optional<std::string> ForwardLastRelevant(std::string_view bytes) {
  std::optional<std::string> last;
  for (const std::string& line : platform::SplitTextLines(bytes)) {
    if (line.starts_with("Log: LoadMap: ") || line.starts_with("Exit: Exiting")) last = line;
  }
  return last;
}

std::optional<std::string> Found(std::string_view bytes) {
  const auto line = LastRelevantLine(bytes);
  return line ? std::optional<std::string>(*line) : std::nullopt;
}

struct Case {
  const char* name;
  std::string log;
  std::optional<std::string> expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class LastLine : public ::testing::TestWithParam<Case> {};

TEST_P(LastLine, MatchesTheReadingRule) {
  const Case& c = GetParam();
  EXPECT_EQ(Found(c.log), c.expected);
  EXPECT_EQ(ForwardLastRelevant(c.log), c.expected);
}

const std::string kLoad = "Log: LoadMap: 1.2.3.4:7777/Map?Name=Kim";

INSTANTIATE_TEST_SUITE_P(
    Cases, LastLine,
    ::testing::Values(
        Case{"Empty", "", std::nullopt},
        Case{"NoRelevantLine", "Log: Hello\r\nScriptLog: x\r\n", std::nullopt},
        Case{"LastOfSeveral", kLoad + "\r\nExit: Exiting\r\nLog: other\r\n", "Exit: Exiting"},
        Case{"ExitThenLoad", "Exit: Exiting\r\n" + kLoad + "\r\nLog: x\r\n", kLoad},
        Case{"FirstLineWithoutCr", kLoad, kLoad},
        Case{"CrOnlyLineEnds", "x\r" + kLoad + "\ry\r", kLoad},
        Case{"PrefixAfterBlankIgnored", " " + kLoad + "\r\n", std::nullopt},
        Case{"PrefixInOtherCaseIgnored", "log: loadmap: 1.2.3.4/M?Name=K\r\n", std::nullopt},
        Case{"PrefixOnlyWithoutFinalBlank", "Log: LoadMap:\r\n", std::nullopt},
        Case{"ExitPrefixWithMore", "Exit: Exiting.\r\n", "Exit: Exiting."},
        Case{"LfOnlyLogIsOneLine", kLoad + "\nLog: x\n", kLoad + "\nLog: x\n"},
        Case{"LfOnlyLogNotStartingWithPrefix", "Log: x\n" + kLoad + "\n", std::nullopt},
        Case{"LoneLfStartsNoLine", "Log: x\r\n\n" + kLoad + "\r\n", std::nullopt},
        Case{"CrLfLfKeepsTheSecondLf", "a\r\n\nExit: Exiting\r\n", std::nullopt},
        Case{"CtrlZEndsTheFile", kLoad + "\r\n\x1A" "Exit: Exiting\r\n", kLoad},
        Case{"CtrlZInsideTheLine", "Exit: Exiting\r\nLog: LoadMap: 1.2\x1A/M?Name=K\r\n",
             "Log: LoadMap: 1.2"},
        Case{"CtrlZCutsThePrefix", "Exit: Exiting\r\nLog: Load\x1A" "Map: x\r\n", "Exit: Exiting"},
        Case{"CtrlZAtStart", "\x1A" + kLoad, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LastLine, AgreesWithForwardReadingOnRandomLogs) {
  // Logs built from the pieces that matter: prefixes, their near misses, and
  // every kind of line end, Ctrl-Z included.
  const std::vector<std::string> pieces = {
      "Log: LoadMap: ", "Exit: Exiting", "Log: LoadMap:", "Exit: Exit", "x", "/", "?", "=",
      "\r", "\n", "\r\n", "\r\r\n", "\x1A"};
  std::mt19937 random(1234);
  for (int round = 0; round < 20000; ++round) {
    std::string log;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) {
      size_t piece = random() % pieces.size();
      if (pieces[piece] == "\x1A" && random() % 4 != 0) piece = 4;  // Ctrl-Z now and then
      log += pieces[piece];
    }
    ASSERT_EQ(Found(log), ForwardLastRelevant(log)) << "log: " << testing::PrintToString(log);
  }
}

// The forward rule with Browse and Bringing Level lines.
presence::LogFinding ForwardFinding(std::string_view bytes, presence::LogFormat format) {
  presence::LogFinding found;
  const bool engine2 = format == presence::LogFormat::BrowseAndLevel;
  for (const std::string& line : platform::SplitTextLines(bytes)) {
    if (line.starts_with("Log: LoadMap: ") || line.starts_with("Exit: Exiting") ||
        (engine2 && line.starts_with("Log: Browse: "))) {
      found = {line, std::nullopt};
    } else if (engine2 && line.starts_with("Log: Bringing Level ")) {
      found.levelUp = line;
    }
  }
  return found;
}

TEST(LogReading, ReadingOnAsTheLogGrowsGivesWhatAWholeReadingGives) {
  // The log grows by random pieces between readings, cutting lines, CR LF
  // pairs and prefixes anywhere; each reading goes on from ResumeAt().
  const std::vector<std::string> pieces = {
      "Log: LoadMap: ", "Exit: Exiting", "Log: Browse: ", "Log: Bringing Level ", "Log: Bro", "wse: ",
      "Log: Bringing", " Level ", "x", "/", "?", "\r", "\n", "\r\n", "\x1A"};
  std::mt19937 random(4321);
  for (const presence::LogFormat format :
       {presence::LogFormat::LoadMap, presence::LogFormat::BrowseAndLevel}) {
    for (int round = 0; round < 5000; ++round) {
      std::string log;
      presence::LogReading reading(format);
      const int growths = 1 + static_cast<int>(random() % 5);
      for (int g = 0; g < growths; ++g) {
        const int count = static_cast<int>(random() % 6);
        for (int i = 0; i < count; ++i) {
          size_t piece = random() % pieces.size();
          if (pieces[piece] == "\x1A" && random() % 4 != 0) piece = 8;  // Ctrl-Z now and then
          log += pieces[piece];
        }
        reading.Read(std::string_view(log).substr(static_cast<size_t>(reading.ResumeAt())));
        ASSERT_EQ(reading.Result(), ForwardFinding(log, format)) << "log: " << testing::PrintToString(log);
      }
    }
  }
}

TEST(LastLine, FileThatCannotBeOpenedReadsAsEmpty) {
  testing_support::TempDir dir;
  EXPECT_EQ(LastRelevantLineInFile(dir.File("missing.sik")), std::nullopt);
  EXPECT_EQ(LastRelevantLineInFile(dir.Write("empty.sik", "")), std::nullopt);
  EXPECT_EQ(LastRelevantLineInFile(dir.Write("log.sik", "a\r\n" + kLoad + "\r\nb\r\n")), kLoad);
}

}  // namespace
