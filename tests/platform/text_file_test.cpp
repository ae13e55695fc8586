// The text reading rule, the same for the streaming reader and the splitter,
// and Windows-1252 both ways.
#include <gtest/gtest.h>

#include <QDir>

#include "platform/text/cp1252.h"
#include "platform/os/text_file.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::TempDir;

namespace {

struct LinesCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};
void PrintTo(const LinesCase& c, std::ostream* os) { *os << c.name; }

class TextRule : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextRule, SplitterAndReaderAgree) {
  const LinesCase& c = GetParam();
  EXPECT_EQ(SplitTextLines(c.bytes), c.lines);
  TempDir dir;
  TextLineReader reader;
  ASSERT_TRUE(reader.Open(dir.Write("f.txt", c.bytes)));
  std::vector<std::string> read;
  std::string line;
  while (reader.Next(line)) read.push_back(line);
  EXPECT_EQ(read, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextRule,
    ::testing::Values(LinesCase{"Empty", "", {}},
                      LinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      LinesCase{"CrOnly", "a\rb\r", {"a", "b"}},
                      LinesCase{"LoneLfIsCharacter", "a\nb\r\nc", {"a\nb", "c"}},
                      LinesCase{"LfOnlyFileIsOneLine", "a\nb\n", {"a\nb\n"}},
                      LinesCase{"LastLineWithoutCr", "a\r\nb", {"a", "b"}},
                      LinesCase{"BlankLines", "\r\n\r\nx", {"", "", "x"}},
                      LinesCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
                      LinesCase{"CtrlZEndsFile", "a\r\nb\x1A\r\nc\r\n", {"a", "b"}},
                      LinesCase{"CtrlZFirst", std::string("\x1A" "abc", 4), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextLineReader, AgreesWithSplitterAcrossBlockBoundaries) {
  // Several MiB of CR, LF and CR LF in every position, so line ends (and the
  // CR LF pair itself) fall across the reader's block boundaries.
  std::string bytes;
  unsigned seed = 7;
  while (bytes.size() < (5u << 20)) {
    seed = seed * 1103515245u + 12345u;
    const unsigned r = (seed >> 16) % 100;
    if (r < 3) bytes += "\r\n";
    else if (r < 5) bytes += '\r';
    else if (r < 6) bytes += '\n';
    else bytes.append(r * 97, char('a' + r % 26));
  }
  TempDir dir;
  TextLineReader reader;
  ASSERT_TRUE(reader.Open(dir.Write("big.log", bytes)));
  std::vector<std::string> read;
  std::string line;
  while (reader.Next(line)) read.push_back(line);
  EXPECT_EQ(read, SplitTextLines(bytes));
}

TEST(TextLineReader, MissingFileDoesNotOpen) {
  TextLineReader reader;
  EXPECT_FALSE(reader.Open("/nonexistent/quavik/file"));
}

TEST(Cp1252, RoundTripAndUnmappable) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(char(b));
  EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
  EXPECT_EQ(FromCp1252("\x80\xE4\x9F"), QString::fromUtf8("€äŸ"));
  EXPECT_EQ(ToCp1252(QString::fromUtf8("Grüße ☺")), std::string("Gr\xFC\xDF" "e ?"));
}

}  // namespace
