// Which server texts the game can be started onto.
#include <gtest/gtest.h>

#include "game/server_address.h"

using game::IsValidServerIP;

namespace {

TEST(ServerAddress, Rules) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"192.168.0.10:7777", true},
      {"10.0.0.1", true},
      {"1.2.3.4:", true},       // nothing after the colon
      {"1.2.3.4:abc", true},    // anything after the colon is ignored
      {"1.2.3.4:5.6:7", true},
      {"0.0.0.1", true},
      {"0.0.0.0", false},
      {"255.255.255.0", true},
      {"255.255.255.1", false},
      {"255.255.255.255", false},
      {"255.255.254.255", true},
      {"199.255.255.255", true},
      {"192.168.000.10", false},  // leading zeros
      {"01.2.3.4", false},
      {"1.2.3.04", false},
      {"1.2.3.00", false},
      {"256.1.1.1", false},
      {"1.1.1.256", false},
      {"1000.1.1.1", false},
      {"1.2.3", false},
      {"1.2.3.4.5", false},
      {"1.2.3.", false},
      {"1..3.4", false},
      {".1.2.3", false},
      {" 1.2.3.4", false},
      {"1.2.3.4 ", false},
      {"1.2.3.4 :7777", false},
      {"+1.2.3.4", false},
      {"1.2.3.-4", false},
      {"1.2.3.0x1", false},
      {"99999999999.1.1.1", false},
      {"1.2.3.99999999999", false},
      {"\xd9\xa1.2.3.4", false},  // a non-ASCII digit
      {"clan.example.com:7777", false},
      {"offline", false},
      {"<i>offline</i>", false},
      {"", false},
      {":7777", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsValidServerIP(QString::fromUtf8(c.text), false), c.valid) << c.text;
  }
}

TEST(ServerAddress, BroadcastAllowedOnRequest) {
  EXPECT_TRUE(IsValidServerIP("255.255.255.255", true));
  EXPECT_TRUE(IsValidServerIP("255.255.255.1:80", true));
  EXPECT_FALSE(IsValidServerIP("0.0.0.0", true));
  EXPECT_FALSE(IsValidServerIP("256.255.255.255", true));
}

}  // namespace
