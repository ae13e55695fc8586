// Pos and Copy with their 1-based edge rules; the byte and the QString
// versions must give the same answers.
#include <gtest/gtest.h>

#include "platform/text/substring.h"

using platform::Copy;
using platform::Pos;

namespace {

struct PosCase {
  const char* needle;
  const char* text;
  long long expected;
};

TEST(Substring, Pos) {
  const PosCase cases[] = {
      {"/", "a/b/c", 2}, {"/", "abc", 0}, {"a", "abc", 1}, {"c", "abc", 3},
      {"bc", "abcbc", 2}, {"x", "", 0}, {"", "abc", 0},
  };
  for (const PosCase& c : cases) {
    SCOPED_TRACE(std::string(c.needle) + " in " + c.text);
    EXPECT_EQ(Pos(std::string_view(c.needle), std::string_view(c.text)), c.expected);
    EXPECT_EQ(Pos(QString(c.needle), QString(c.text)), c.expected);
  }
}

struct CopyCase {
  long long index;
  long long count;
  const char* expected;
};

TEST(Substring, CopyClampsStartAndLength) {
  const char* text = "abcdef";
  const CopyCase cases[] = {
      {1, 3, "abc"},   {3, 2, "cd"},     {6, 1, "f"},
      {4, 100, "def"},  // a length past the end is cut there
      {0, 2, "ab"},     // a start below 1 counts as 1, the length stays
      {-14, 3, "abc"},
      {7, 1, ""},       // a start past the end
      {2, 0, ""},       {2, -15, ""},  // a length below 1
  };
  for (const CopyCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "Copy(" << c.index << ", " << c.count << ")");
    EXPECT_EQ(Copy(std::string_view(text), c.index, c.count), c.expected);
    EXPECT_EQ(Copy(QString(text), c.index, c.count), QString(c.expected));
  }
  EXPECT_EQ(Copy(std::string_view(), 1, 1), "");
}

}  // namespace
