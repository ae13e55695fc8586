#include "query_text.h"

#include <gtest/gtest.h>

namespace clan {
namespace {

TEST(QueryText, DecodesTheQueryAsTheScriptReadsIt) {
  const struct {
    const char* query;
    Query expected;
  } cases[] = {
      {"name=J%F6rg&pass=geh%E4im", {{"name", "J\xF6rg"}, {"pass", "geh\xE4im"}}},
      {"name=Kim+Lee&map=a%2Bb", {{"name", "Kim Lee"}, {"map", "a+b"}}},
      {"server=%3Ci%3Eoffline%3C%2Fi%3E", {{"server", "<i>offline</i>"}}},
      {"name=%ZZ%&map=%E&x=%4", {{"name", "%ZZ%"}, {"map", "%E"}, {"x", "%4"}}},
      {"quickview&&=&pass==", {{"quickview", ""}, {"", ""}, {"pass", "="}}},
      {"name=%00%0D%0A", {{"name", std::string("\0\r\n", 3)}}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseQuery(c.query), c.expected) << c.query;
}

}  // namespace
}  // namespace clan
