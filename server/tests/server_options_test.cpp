#include "server_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace clan {
namespace {

using namespace std::chrono_literals;

ServerOptions Parsed(const std::vector<std::string>& args) {
  auto result = ParseOptions(args);
  if (auto* error = std::get_if<std::string>(&result)) ADD_FAILURE() << *error;
  return std::get_if<ServerOptions>(&result) ? std::get<ServerOptions>(result) : ServerOptions{};
}

TEST(ServerOptions, DefaultsNeedOnlyTheClanPassword) {
  const ServerOptions options = Parsed({"--clan-pass", ""});
  EXPECT_EQ(options.address, "0.0.0.0");
  EXPECT_EQ(options.port, 8080);
  EXPECT_EQ(options.script.clanPassword, "");
  EXPECT_FALSE(options.script.masterPassword);
  EXPECT_EQ(options.script.limits.expire, 15min);
  EXPECT_EQ(options.script.limits.offlineLinger, 5min);
  EXPECT_EQ(options.script.limits.maxMembers, 10000u);
}

TEST(ServerOptions, ReadsEveryOptionInBothSpellings) {
  const ServerOptions options =
      Parsed({"--address=127.0.0.1", "--port", "0", "--clan-pass=geh\xC3\xA4im",
              "--master-pass", "global", "--expire", "90", "--offline-linger=2m",
              "--max-members", "50", "--seed", "J\xC3\xB6rg|1.2.3.4:7777|TO-Rapid", "--seed=Kim"});
  EXPECT_EQ(options.address, "127.0.0.1");
  EXPECT_EQ(options.port, 0);
  EXPECT_EQ(options.script.clanPassword, "geh\xE4im");  // kept as the client sends it
  EXPECT_EQ(options.script.masterPassword, "global");
  EXPECT_EQ(options.script.limits.expire, 90s);
  EXPECT_EQ(options.script.limits.offlineLinger, 2min);
  EXPECT_EQ(options.script.limits.maxMembers, 50u);
  ASSERT_EQ(options.seeds.size(), 2u);
  EXPECT_EQ(options.seeds[0].name, "J\xF6rg");
  EXPECT_EQ(options.seeds[0].server, "1.2.3.4:7777");
  EXPECT_EQ(options.seeds[0].map, "TO-Rapid");
  EXPECT_EQ(options.seeds[1].name, "Kim");
  EXPECT_EQ(options.seeds[1].server, "");
}

TEST(ServerOptions, RejectsUnusableArguments) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "--clan-pass is required"},
      {{"--port", "8080"}, "--clan-pass is required"},
      {{"--clan-pass"}, "missing value for --clan-pass"},
      {{"--clan-pass", "x", "--port", "65536"}, "invalid port: 65536"},
      {{"--clan-pass", "x", "--port", "-1"}, "invalid port: -1"},
      {{"--clan-pass", "x", "--port", "80a"}, "invalid port: 80a"},
      {{"--clan-pass", "x", "--expire", "15x"}, "invalid duration for --expire: 15x"},
      {{"--clan-pass", "x", "--offline-linger", "m"}, "invalid duration for --offline-linger: m"},
      {{"--clan-pass", "x", "--expire", "99999999999999h"}, "invalid duration"},
      {{"--clan-pass", "x", "--max-members", "0"}, "invalid member limit: 0"},
      {{"--clan-pass", "x", "--seed", "|1.2.3.4|map"}, "invalid seed"},
      {{"--clan-pass", "x", "--seed", "AUTH_FAILED!|1.2.3.4|map"}, "AUTH_FAILED! can't be seeded"},
      {{"--clan-pass", "x", "--seed-file", "/nonexistent/seeds"}, "cannot read seed file"},
      {{"--clan-pass", "x", "--verbose", "1"}, "unknown option: --verbose"},
  };
  for (const auto& [args, error] : cases) {
    const auto result = ParseOptions(args);
    ASSERT_TRUE(std::holds_alternative<std::string>(result)) << error;
    EXPECT_NE(std::get<std::string>(result).find(error), std::string::npos)
        << std::get<std::string>(result);
  }
}

TEST(ServerOptions, HelpWinsOverEverythingElse) {
  const std::vector<std::string> cases[] = {{"--help", "--port", "x"}, {"--port", "x", "-h"}};
  for (const auto& args : cases) {
    const auto result = ParseOptions(args);
    ASSERT_TRUE(std::holds_alternative<ServerOptions>(result)) << args.front();
    EXPECT_TRUE(std::get<ServerOptions>(result).help);
  }
}

class SeedFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::filesystem::temp_directory_path() /
           ("clan_seeds_" + std::to_string(::getpid()) + ".txt");
  }
  void TearDown() override { std::filesystem::remove(path); }
  void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

  std::filesystem::path path;
};

TEST_F(SeedFileTest, ReadsOneMemberPerLineSkippingCommentsAndBlanks) {
  Write("# demo roster\r\nJ\xC3\xB6rg|1.2.3.4:7777|TO-Rapid\r\n\r\nKim|<i>Sucht Server...</i>|\n");
  const ServerOptions options = Parsed({"--clan-pass", "x", "--seed-file", path.string()});
  ASSERT_EQ(options.seeds.size(), 2u);
  EXPECT_EQ(options.seeds[0].name, "J\xF6rg");
  EXPECT_EQ(options.seeds[0].map, "TO-Rapid");
  EXPECT_EQ(options.seeds[1].server, "<i>Sucht Server...</i>");
}

TEST_F(SeedFileTest, NamesTheLineOfABadEntry) {
  const std::pair<std::string, std::string> cases[] = {
      {"Kim|a|b\n|no name\n", ":2: expected name|server|map"},
      {"Kim|a|b\r\n# x\r\nAUTH_FAILED!|a|b\r\n", ":3: the name AUTH_FAILED! can't be seeded"},
  };
  for (const auto& [text, error] : cases) {
    Write(text);
    const auto result = ParseOptions({"--clan-pass", "x", "--seed-file", path.string()});
    ASSERT_TRUE(std::holds_alternative<std::string>(result));
    EXPECT_EQ(std::get<std::string>(result).find(path.string() + error), 0u)
        << std::get<std::string>(result);
  }
}

}  // namespace
}  // namespace clan
