// Which roster and bookmark texts name a server to query, on which port
// and with which protocol.
#include <gtest/gtest.h>

#include "serverinfo/query_target.h"

namespace {

using query::QueryProtocol;

TEST(QueryTarget, FromTheTextsOfRowsAndBookmarks) {
  struct Case {
    const char* text;
    int gameIndex;
    bool isTarget;
    const char* host;
    int queryPort;
    QueryProtocol protocol;
  } const cases[] = {
      {"10.0.0.5:7777", 0, true, "10.0.0.5", 7778, QueryProtocol::Text},
      {"10.0.0.5", 2, true, "10.0.0.5", 7778, QueryProtocol::Text},
      {"10.0.0.5:7787", 3, true, "10.0.0.5", 7788, QueryProtocol::Binary},
      {"10.0.0.5:7777", 4, true, "10.0.0.5", 7778, QueryProtocol::Binary},
      {"10.0.0.5:7777/DM-Deck16", 1, true, "10.0.0.5", 7778, QueryProtocol::Text},
      {"10.0.0.5:65534", 1, true, "10.0.0.5", 65535, QueryProtocol::Text},
      // No server to ask.
      {"10.0.0.5:65535", 1, false, "", 0, QueryProtocol::Text},  // its query port would not exist
      {"10.0.0.5:0", 1, false, "", 0, QueryProtocol::Text},
      {"10.0.0.5:", 1, false, "", 0, QueryProtocol::Text},
      {"10.0.0.5:abc", 1, false, "", 0, QueryProtocol::Text},
      {"10.0.0.5:99999999999999999999", 1, false, "", 0, QueryProtocol::Text},
      {"Sucht Server...", 1, false, "", 0, QueryProtocol::Text},
      {"offline", 1, false, "", 0, QueryProtocol::Text},
      {"", 1, false, "", 0, QueryProtocol::Text},
      {"clan.example:7777", 1, false, "", 0, QueryProtocol::Text},
      {"255.255.255.255:7777", 1, false, "", 0, QueryProtocol::Text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<serverinfo::QueryTarget> target = serverinfo::QueryTargetFor(QString::fromUtf8(c.text), c.gameIndex);
    ASSERT_EQ(target.has_value(), c.isTarget);
    if (!target) continue;
    EXPECT_EQ(target->host, c.host);
    EXPECT_EQ(target->queryPort, c.queryPort);
    EXPECT_EQ(target->protocol, c.protocol);
  }
}

TEST(QueryTarget, RowsOfOneServerShareAKey) {
  const auto key = [](const char* text, int game) { return serverinfo::QueryTargetFor(text, game)->Key(); };
  EXPECT_EQ(key("10.0.0.5:7777", 0), key("10.0.0.5", 1));
  EXPECT_NE(key("10.0.0.5:7777", 0), key("10.0.0.5:7778", 0));
  EXPECT_NE(key("10.0.0.5:7777", 0), key("10.0.0.6:7777", 0));
  EXPECT_NE(key("10.0.0.5:7777", 2), key("10.0.0.5:7777", 4)) << "another protocol is another query";
}

}  // namespace
