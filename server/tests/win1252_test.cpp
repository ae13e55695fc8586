#include "win1252.h"

#include <gtest/gtest.h>

namespace clan {
namespace {

struct CodePageCase {
  std::string win1252;
  std::string utf8;
};

// Both directions over the letters a German clan uses, the bytes 0x80-0x9F
// that differ from Latin-1, and the upper half that equals it.
TEST(Win1252, ConvertsBothWays) {
  const CodePageCase cases[] = {
      {"", ""},
      {"Kim", "Kim"},
      {"J\xF6rg \xC4\xD6\xDC\xE4\xFC\xDF", "J\xC3\xB6rg \xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xBC\xC3\x9F"},
      {"\x80", "\xE2\x82\xAC"},                 // euro sign
      {"\x84\x93\x94", "\xE2\x80\x9E\xE2\x80\x9C\xE2\x80\x9D"},  // German quotes
      {"\x9F", "\xC5\xB8"},                     // Y with diaeresis
      {"\xA0\xFF", "\xC2\xA0\xC3\xBF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Win1252ToUtf8(c.win1252), c.utf8) << c.utf8;
    EXPECT_EQ(Utf8ToWin1252(c.utf8), c.win1252) << c.utf8;
  }
}

TEST(Win1252, BytesWithoutCharacterSurviveTheRoundTrip) {
  const std::string unassigned = "\x81\x8D\x8F\x90\x9D";
  const std::string utf8 = Win1252ToUtf8(unassigned);
  EXPECT_TRUE(IsUtf8(utf8));
  EXPECT_EQ(Utf8ToWin1252(utf8), unassigned);
}

TEST(Win1252, Utf8WithoutWin1252CharacterBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToWin1252("a\xE2\x82\xBF" "b\xF0\x9F\x98\x80"), "a?b?");  // bitcoin sign, emoji
}

TEST(Win1252, TextThatIsNotUtf8IsKeptByteForByte) {
  const std::string notUtf8[] = {
      "J\xF6rg",            // Windows-1252 already
      "\xC3",               // cut-off sequence
      "\xC0\xAF",           // overlong slash
      "\xED\xA0\x80",       // surrogate
      "\xE2\x82",           // cut-off euro sign
      "\x80",               // stray continuation byte
  };
  for (const auto& text : notUtf8) {
    EXPECT_FALSE(IsUtf8(text)) << ::testing::PrintToString(text);
    EXPECT_EQ(Utf8ToWin1252(text), text);
  }
}

}  // namespace
}  // namespace clan
