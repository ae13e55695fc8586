// The last relevant game log line, found from the end, must be the one the
// forward reading of the game log's lines finds, whatever mix of line ends,
// Ctrl-Z, byte order mark and unfinished last line the log holds.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "presence/log_file_reading.h"
#include "presence/relevant_log_line.h"
#include "support/temp_dir.h"

using presence::LastRelevantLine;
using presence::LastRelevantLineInFile;

namespace {

// A game log's lines, read forwards as plainly as they can be: a line ends at
// CR LF, CR or LF; the first Ctrl-Z ends the file; a leading UTF-8 byte order
// mark is no part of the text. A last line without a line end is still being
// written, unless a Ctrl-Z ended the file.
struct ForwardLines {
  std::vector<std::string> whole;
  std::optional<std::string> unfinished;
  bool utf8 = false;
};

ForwardLines SplitLog(std::string_view bytes) {
  ForwardLines lines;
  lines.utf8 = bytes.starts_with("\xEF\xBB\xBF");
  if (lines.utf8) bytes.remove_prefix(3);
  bool ended = false;
  if (const size_t z = bytes.find('\x1A'); z != std::string_view::npos) {
    bytes = bytes.substr(0, z);
    ended = true;
  }
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      if (ended) {
        lines.whole.emplace_back(bytes.substr(pos));
      } else {
        lines.unfinished.emplace(bytes.substr(pos));
      }
      break;
    }
    lines.whole.emplace_back(bytes.substr(pos, end - pos));
    pos = end + 1;
    if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return lines;
}

bool IsLoadMapOrExit(std::string_view line) {
  return line.starts_with("Log: LoadMap: ") || line.starts_with("Exit: Exiting");
}

// The forward rule for LoadMap and Exit lines.
std::optional<std::string> ForwardLastRelevant(std::string_view bytes) {
  const ForwardLines lines = SplitLog(bytes);
  std::optional<std::string> last;
  for (const std::string& line : lines.whole) {
    if (IsLoadMapOrExit(line)) last = line;
  }
  if (lines.unfinished && lines.unfinished->starts_with("Exit: Exiting")) last = lines.unfinished;
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
        Case{"CrOnlyLineEnds", "x\r" + kLoad + "\ry\r", kLoad},
        Case{"LfOnlyLineEnds", "Log: x\n" + kLoad + "\nLog: y\n", kLoad},
        Case{"MixedLineEnds", "Exit: Exiting\n" + kLoad + "\r\nLog: x\rLog: y\n", kLoad},
        Case{"LoneLfIsAnEmptyLine", "Log: x\r\n\n" + kLoad + "\r\n", kLoad},
        Case{"CrLfLfHoldsAnEmptyLine", "a\r\n\nExit: Exiting\r\n", "Exit: Exiting"},
        Case{"UnfinishedLastLineDoesNotCountYet", "Exit: Exiting\n" + kLoad, "Exit: Exiting"},
        Case{"UnfinishedOnlyLine", kLoad, std::nullopt},
        Case{"UnfinishedExitCounts", kLoad + "\nExit: Exiting", "Exit: Exiting"},
        Case{"UnfinishedExitPrefixNotYet", kLoad + "\nExit: Exit", kLoad},
        Case{"ByteOrderMarkIsNoPartOfTheFirstLine", "\xEF\xBB\xBF" + kLoad + "\n", kLoad},
        Case{"ByteOrderMarkLaterIsText", "x\n\xEF\xBB\xBF" + kLoad + "\n", std::nullopt},
        Case{"PrefixAfterBlankIgnored", " " + kLoad + "\r\n", std::nullopt},
        Case{"PrefixInOtherCaseIgnored", "log: loadmap: 1.2.3.4/M?Name=K\r\n", std::nullopt},
        Case{"PrefixOnlyWithoutFinalBlank", "Log: LoadMap:\r\n", std::nullopt},
        Case{"ExitPrefixWithMore", "Exit: Exiting.\r\n", "Exit: Exiting."},
        Case{"CtrlZEndsTheFile", kLoad + "\r\n\x1A" "Exit: Exiting\r\n", kLoad},
        Case{"CtrlZEndsTheLastLine", "Exit: Exiting\r\n" + kLoad + "\x1A", kLoad},
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
      "\r", "\n", "\r\n", "\r\r\n", "\x1A", "\xEF\xBB\xBF"};
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

// A Browse line to no host with a "closed" option: "Index.ut2?closed?Name=Kim".
bool IsClosing(const std::string& line) {
  if (!line.starts_with("Log: Browse: ")) return false;
  const std::string url = line.substr(13);
  const std::string target = url.substr(0, url.find('?'));
  const size_t slash = target.find('/');
  if (slash != std::string::npos && slash > 0 && target[slash - 1] != ':') return false;
  std::string options = url.find('?') == std::string::npos ? "" : url.substr(url.find('?') + 1);
  for (char& c : options) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  options = "?" + options + "?";
  return options.find("?closed?") != std::string::npos || options.find("?closed=") != std::string::npos;
}

// The forward rule with Browse, NetMode and Bringing Level lines.
presence::LogFinding ForwardFinding(std::string_view bytes, presence::LogFormat format) {
  const ForwardLines lines = SplitLog(bytes);
  presence::LogFinding found;
  const bool engine2 = format == presence::LogFormat::BrowseAndLevel;
  bool closed = false;
  bool client = false;
  for (const std::string& line : lines.whole) {
    if (IsLoadMapOrExit(line) || (engine2 && line.starts_with("Log: Browse: ") && !IsClosing(line))) {
      found = {line, std::nullopt};
      closed = client = false;
    } else if (!engine2) {
      continue;
    } else if (line.starts_with("Log: Bringing Level ")) {
      found.levelUp = closed && !client ? std::nullopt : std::optional<std::string>(line);
    } else if (line.starts_with("Log: NetMode now NM_Client")) {
      client = true;
    } else if (IsClosing(line)) {
      closed = true;
      client = false;
      found.levelUp.reset();
    }
  }
  if (lines.unfinished && lines.unfinished->starts_with("Exit: Exiting")) found = {lines.unfinished, std::nullopt};
  found.utf8 = lines.utf8;
  return found;
}

TEST(LogReading, ReadingOnAsTheLogGrowsGivesWhatAWholeReadingGives) {
  // The log grows by random pieces between readings, cutting lines, CR LF
  // pairs and prefixes anywhere; each reading goes on from ResumeAt().
  const std::vector<std::string> pieces = {
      "Log: LoadMap: ", "Exit: Exiting", "Log: Browse: ", "Log: Bringing Level ", "Log: Bro", "wse: ",
      "Log: Bringing", " Level ", "x", "/", "?", "\r", "\n", "\r\n", "\x1A", "closed",
      "Log: NetMode now NM_Client", "https:", "\xEF\xBB\xBF"};
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

TEST(LogFileReading, AFreshReadingFromTheFilesEndGivesWhatTheForwardReadingGives) {
  // Files longer than the tail windows, with the last counting line in the
  // first window, in a grown one, before all of them (read from the start)
  // or nowhere; each file then grows and the reading goes on from there.
  const std::vector<std::string> pieces = {
      "Log: LoadMap: ", "Exit: Exiting", "Log: Browse: ", "Log: Bringing Level ", "closed",
      "Log: NetMode now NM_Client", "?", "x", "\r", "\n", "\r\n", "\x1A", "\xEF\xBB\xBF",
      "Log: Possible network timeout, client idle for 2.41 seconds"};
  const size_t filler = pieces.size() - 1;
  const presence::TailWindows windows{16, 128};
  testing_support::TempDir dir;
  std::mt19937 random(777);
  for (const presence::LogFormat format :
       {presence::LogFormat::LoadMap, presence::LogFormat::BrowseAndLevel}) {
    for (int round = 0; round < 3000; ++round) {
      std::string log = random() % 4 == 0 ? "\xEF\xBB\xBF" : "";
      const int count = static_cast<int>(random() % 60);
      for (int i = 0; i < count; ++i) {
        size_t piece = random() % pieces.size();
        if (piece < 6 && random() % 3 != 0) piece = filler;        // counting lines now and then
        if (pieces[piece] == "\x1A" && random() % 8 != 0) piece = 9;  // Ctrl-Z seldom
        log += pieces[piece];
      }
      // A new file each round: ext4 writes a file back at once when it is
      // cut to nothing and written again.
      const QString path = dir.Write(QStringLiteral("log-%1-%2.sik").arg(int(format)).arg(round), log);
      presence::LogReading reading(format);
      presence::ReadOnFromFile(path, reading, windows);
      ASSERT_EQ(reading.Result(), ForwardFinding(log, format)) << "log: " << testing::PrintToString(log);
      // Told where the text ends, as a whole copy tells it, the reading is the same.
      presence::LogReading told(format);
      const size_t ctrlZ = log.find('\x1A');
      presence::ReadOnFromFile(path, told, windows, qint64(ctrlZ == std::string::npos ? log.size() : ctrlZ));
      ASSERT_EQ(told.Result(), reading.Result()) << "log: " << testing::PrintToString(log);
      ASSERT_EQ(told.ResumeAt(), reading.ResumeAt());
      const std::string more = pieces[random() % pieces.size()] + pieces[random() % pieces.size()] + "\r\n";
      log += more;
      dir.Append(QStringLiteral("log-%1-%2.sik").arg(int(format)).arg(round), more);
      presence::ReadOnFromFile(path, reading, windows);
      ASSERT_EQ(reading.Result(), ForwardFinding(log, format)) << "grown: " << testing::PrintToString(log);
    }
  }
}

TEST(LogFileReading, ALineWithoutEndHoldsNoMoreThanABlockWhateverItsLength) {
  // A last line of 8 MB without a line end, then what the log gains after
  // it: the end of that line, text that only looks like a counting line
  // within it, a Ctrl-Z. The reading gives what the forward reading gives
  // and never holds the long line whole, neither fresh nor reading on.
  const std::string loadA = "Log: LoadMap: 1.2.3.4:7777/TO-Verdict?Name=Kim";
  const std::string loadB = "Log: LoadMap: 5.6.7.8:7777/TO-Blister?Name=Kim";
  const std::string longLine(8 << 20, 'x');
  struct Growth {
    const char* name;
    std::string more;
  };
  const std::vector<Growth> growths = {
      {"LineEndsThenALoadMap", "x\r\n" + loadB + "\r\n"},
      {"LoadMapWithinTheLongLine", loadB + "\r\n"},
      {"LineEndsInCrLfThenALoadMap", "\r\n" + loadB + "\r\n"},
      {"CtrlZEndsTheLongLine", "\x1A" + loadB + "\r\n"},
      {"UnfinishedExitAfterIt", "\n" + loadB + "\rExit: Exiting"},
      {"StillNoLineEnd", "yyyy"},
  };
  constexpr qint64 kBound = qint64(3) << 20;  // a block of a megabyte and the longest line, generously
  const presence::TailWindows windows{16 << 10, 64 << 10};
  testing_support::TempDir dir;
  for (const Growth& growth : growths) {
    SCOPED_TRACE(growth.name);
    std::string log = "Log: Log file open\r\n" + loadA + "\r\n" + longLine;
    const QString path = dir.Write(QStringLiteral("long.sik"), log);
    presence::LogReading reading(presence::LogFormat::LoadMap);
    qint64 held = 0;
    presence::ReadOnFromFile(path, reading, windows, std::nullopt, &held);
    EXPECT_EQ(reading.Result().last, loadA);
    EXPECT_LT(held, kBound);
    log += growth.more;
    dir.Append(QStringLiteral("long.sik"), growth.more);
    presence::ReadOnFromFile(path, reading, windows, std::nullopt, &held);
    EXPECT_EQ(reading.Result(), ForwardFinding(log, presence::LogFormat::LoadMap));
    EXPECT_LT(held, kBound);
  }
}
