#include "server_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

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
  EXPECT_EQ(options.store, "memory");
  EXPECT_EQ(options.http.threads, std::max(1u, std::thread::hardware_concurrency()));
  EXPECT_EQ(options.http.connectionsPerAddress, 64u);
  EXPECT_EQ(options.http.maxConnections, 20000u);
}

TEST(ServerOptions, ReadsEveryOptionInBothSpellings) {
  const ServerOptions options =
      Parsed({"--address=127.0.0.1", "--port", "0", "--clan-pass=geh\xC3\xA4im",
              "--master-pass", "global", "--expire", "90", "--offline-linger=2m",
              "--max-members", "50", "--connections-per-address", "500", "--store", "redis://10.0.0.9:6380/3", "--seed", "J\xC3\xB6rg|1.2.3.4:7777|TO-Rapid", "--seed=Kim"});
  EXPECT_EQ(options.address, "127.0.0.1");
  EXPECT_EQ(options.port, 0);
  EXPECT_EQ(options.script.clanPassword, "geh\xE4im");  // kept as the client sends it
  EXPECT_EQ(options.script.masterPassword, "global");
  EXPECT_EQ(options.script.limits.expire, 90s);
  EXPECT_EQ(options.script.limits.offlineLinger, 2min);
  EXPECT_EQ(options.script.limits.maxMembers, 50u);
  EXPECT_EQ(options.http.connectionsPerAddress, 500u);
  EXPECT_EQ(options.store, "redis://10.0.0.9:6380/3");
  EXPECT_EQ(Parsed({"--clan-pass", "", "--threads", "8", "--store", "redis://h"}).http.threads, 8u);
  EXPECT_EQ(Parsed({"--clan-pass", "", "--max-connections", "20000"}).http.maxConnections, 20000u);
  ASSERT_EQ(options.seeds.size(), 2u);
  EXPECT_EQ(options.seeds[0].name, "J\xF6rg");
  EXPECT_EQ(options.seeds[0].server, "1.2.3.4:7777");
  EXPECT_EQ(options.seeds[0].map, "TO-Rapid");
  EXPECT_EQ(options.seeds[1].name, "Kim");
  EXPECT_EQ(options.seeds[1].server, "");
}

TEST(ServerOptions, RejectsUnusableArguments) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "a clan password is required"},
      {{"--port", "8080"}, "a clan password is required"},
      {{"--clan-pass"}, "missing value for --clan-pass"},
      {{"--clan-pass", "x", "--port", "65536"}, "invalid port: 65536"},
      {{"--clan-pass", "x", "--port", "-1"}, "invalid port: -1"},
      {{"--clan-pass", "x", "--port", "80a"}, "invalid port: 80a"},
      {{"--clan-pass", "x", "--expire", "15x"}, "invalid duration for --expire: 15x"},
      {{"--clan-pass", "x", "--offline-linger", "m"}, "invalid duration for --offline-linger: m"},
      {{"--clan-pass", "x", "--expire", "99999999999999h"}, "invalid duration"},
      {{"--clan-pass", "x", "--max-members", "0"}, "invalid member limit: 0"},
      {{"--clan-pass", "x", "--connections-per-address", "0"}, "invalid connection limit: 0"},
      {{"--clan-pass", "x", "--store", "redis:/host"}, "invalid store"},
      {{"--clan-pass", "x", "--threads", "0"}, "invalid thread count: 0"},
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

class ConfigFileTest : public SeedFileTest {
 protected:
  std::variant<ServerOptions, std::string> ParseWith(const std::string& text,
                                                     std::vector<std::string> args = {},
                                                     const Environment& environment = {},
                                                     std::filesystem::perms perms =
                                                         std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_write) {
    if (std::filesystem::exists(path)) {
      std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);
    }
    Write(text);
    std::filesystem::permissions(path, perms);
    args.insert(args.begin(), {"--config", path.string()});
    return ParseOptions(args, environment);
  }
};

TEST_F(ConfigFileTest, CarriesEveryOptionAndTheCommandLineAndEnvironmentOverrideIt) {
  const std::string text =
      "# clan server\r\n"
      "clan-pass = \" geh\xC3\xA4im \"\r\n"
      "master-pass=global\r\n"
      "  port = 8090  \r\n"
      "address = 127.0.0.1\n"
      "expire = 2m\n"
      "\n"
      "seed = Demo|1.2.3.4:7777|TO-Rapid\n"
      "seed = Kim\n";
  auto parsed = ParseWith(text);
  ASSERT_TRUE(std::holds_alternative<ServerOptions>(parsed)) << std::get<std::string>(parsed);
  const auto& fromFile = std::get<ServerOptions>(parsed);
  EXPECT_EQ(fromFile.script.clanPassword, " geh\xE4im ");
  EXPECT_EQ(fromFile.script.masterPassword, "global");
  EXPECT_EQ(fromFile.port, 8090);
  EXPECT_EQ(fromFile.address, "127.0.0.1");
  EXPECT_EQ(fromFile.script.limits.expire, 2min);
  EXPECT_EQ(fromFile.seeds.size(), 2u);
  EXPECT_TRUE(fromFile.warnings.empty());

  parsed = ParseWith(text, {"--port", "9000", "--seed", "Lee"}, {{"QUAVIK_CLAN_PASS", "env"}});
  ASSERT_TRUE(std::holds_alternative<ServerOptions>(parsed));
  const auto& overridden = std::get<ServerOptions>(parsed);
  EXPECT_EQ(overridden.script.clanPassword, "env");
  EXPECT_EQ(overridden.script.masterPassword, "global");
  EXPECT_EQ(overridden.port, 9000);
  EXPECT_EQ(overridden.seeds.size(), 3u);
  EXPECT_TRUE(overridden.warnings.empty());

  parsed = ParseWith(text, {"--master-pass", "visible"}, {{"QUAVIK_CLAN_PASS", "env"}});
  ASSERT_TRUE(std::holds_alternative<ServerOptions>(parsed));
  EXPECT_EQ(std::get<ServerOptions>(parsed).script.clanPassword, "env");
  EXPECT_EQ(std::get<ServerOptions>(parsed).script.masterPassword, "visible");
  EXPECT_EQ(std::get<ServerOptions>(parsed).warnings.size(), 1u);
}

TEST_F(ConfigFileTest, PasswordsFromTheEnvironmentAloneAreEnough) {
  const auto parsed = ParseOptions({}, {{"QUAVIK_CLAN_PASS", ""}, {"QUAVIK_MASTER_PASS", "m"}});
  ASSERT_TRUE(std::holds_alternative<ServerOptions>(parsed)) << std::get<std::string>(parsed);
  EXPECT_EQ(std::get<ServerOptions>(parsed).script.clanPassword, "");
  EXPECT_EQ(std::get<ServerOptions>(parsed).script.masterPassword, "m");
}

TEST_F(ConfigFileTest, RefusesWhatItCannotUse) {
  using std::filesystem::perms;
  const perms worldReadable = perms::owner_read | perms::group_read | perms::others_read;
  const struct {
    std::string text;
    perms mode;
    std::string error;  // empty: accepted
  } cases[] = {
      {"clan-pass = x\n", worldReadable, "holds a password and other users can read it"},
      {"port = 1\nmaster-pass = y\n", worldReadable, "holds a password and other users can read it"},
      {"port = 1\n", worldReadable, ""},  // no secret in it, the password from the environment
      {"clan-pass = x\n", perms::owner_read | perms::group_read, ""},
      {"clan-pass = x\nverbose = 1\n", perms::owner_read, ":2: unknown option: --verbose"},
      {"clan-pass = x\nconfig = /etc/other\n", perms::owner_read, ":2: unknown key: config"},
      {"clan-pass = x\n\njust text\n", perms::owner_read, ":3: expected key = value"},
      {"clan-pass = x\nport = eighty\n", perms::owner_read, ":2: invalid port: eighty"},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseWith(c.text, {}, {{"QUAVIK_CLAN_PASS", "env"}}, c.mode);
    if (c.error.empty()) {
      EXPECT_TRUE(std::holds_alternative<ServerOptions>(parsed)) << c.text;
    } else {
      ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.text;
      EXPECT_NE(std::get<std::string>(parsed).find(c.error), std::string::npos)
          << std::get<std::string>(parsed);
    }
  }
  const auto missing = ParseOptions({"--config", "/nonexistent/clan.conf"});
  ASSERT_TRUE(std::holds_alternative<std::string>(missing));
  EXPECT_EQ(std::get<std::string>(missing), "cannot read config file /nonexistent/clan.conf");
}

}  // namespace
}  // namespace clan
