// Which masters a game's list comes from, and which servers belong to it.
#include <gtest/gtest.h>

#include "master/master_defaults.h"
#include "support/temp_dir.h"

namespace {

using master::Game;
using master::MasterHostPort;

TEST(MasterDefaults, MasterHostPortesAsWritten) {
  const struct {
    const char* text;
    std::optional<MasterHostPort> expected;
  } cases[] = {
      {"master.333networks.com:28900", MasterHostPort{"master.333networks.com", 28900}},
      {"  Master.Example:1  ", MasterHostPort{"master.example", 1}},
      {"127.0.0.1:65535", MasterHostPort{"127.0.0.1", 65535}},
      {"[::1]:28902", MasterHostPort{"::1", 28902}},
      {"master.example", std::nullopt},
      {"master.example:", std::nullopt},
      {":28900", std::nullopt},
      {"master.example:0", std::nullopt},
      {"master.example:65536", std::nullopt},
      {"master.example:+80", std::nullopt},
      {"master.example:28900x", std::nullopt},
      {"::1:28900", std::nullopt},
      {"[::1]28900", std::nullopt},
      {"[master.example]:28900", std::nullopt},
      {"master example:28900", std::nullopt},
      {"mäster.example:28900", std::nullopt},
      {"master.example:28900/x", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(master::ParseMasterHostPort(c.text), c.expected) << c.text;
  EXPECT_EQ((MasterHostPort{"::1", 28902}).Text(), "[::1]:28902");
  EXPECT_EQ((MasterHostPort{"m.example", 28900}).Text(), "m.example:28900");
}

TEST(MasterDefaults, CommandLineThenIniThenBuiltIn) {
  const QList<MasterHostPort> commandLine = {{"127.0.0.1", 28900}};
  const struct {
    const char* why;
    Game game;
    QList<MasterHostPort> commandLine;
    std::optional<QString> ini;
    QList<MasterHostPort> expected;
    int warnings;
  } cases[] = {
      {"command line wins", Game::UT, commandLine, QString("a.example:1"), commandLine, 0},
      {"ini over built-in", Game::UT, {}, QString("a.example:1, b.example:2,,a.example:1,"),
       {{"a.example", 1}, {"b.example", 2}}, 0},
      {"bad item left out", Game::TacticalOps, {}, QString("a.example:1,bad,c:x"), {{"a.example", 1}}, 2},
      {"nothing usable", Game::UT2004, {}, QString("bad"), master::BuiltInMasters(Game::UT2004), 2},
      {"no setting", Game::UT, {}, std::nullopt, master::BuiltInMasters(Game::UT), 0},
      {"no master for UT 2003", Game::UT2003, {}, std::nullopt, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const master::ChosenMasters chosen = master::ChooseMasters(c.game, c.commandLine, c.ini);
    EXPECT_EQ(chosen.masters, c.expected);
    EXPECT_EQ(chosen.warnings.size(), c.warnings) << chosen.warnings.join('\n').toStdString();
  }
  EXPECT_FALSE(master::BuiltInMasters(Game::UT).isEmpty());
  EXPECT_FALSE(master::BuiltInMasters(Game::TacticalOps).isEmpty());
}

TEST(MasterDefaults, SettingReadFromTheMastersSection) {
  testing_support::TempDir dir;
  const QString ini = dir.Write("quavik.ini",
                                "[Settings]\r\nUT=wrong.example:1\r\n[masters]\r\nut = a.example:28900 , b.example:28900\r\n"
                                "UT2004=\r\nTO=\"c.example:28900\"\r\n");
  EXPECT_EQ(master::ReadMastersSetting(ini, Game::UT), QString("a.example:28900 , b.example:28900"));
  EXPECT_EQ(master::ReadMastersSetting(ini, Game::TacticalOps), QString("c.example:28900"));
  EXPECT_EQ(master::ReadMastersSetting(ini, Game::UT2004), std::nullopt);
  EXPECT_EQ(master::ReadMastersSetting(ini, Game::UT2003), std::nullopt);
  EXPECT_EQ(master::ReadMastersSetting(dir.File("none.ini"), Game::UT), std::nullopt);
}

TEST(MasterDefaults, TheUserOwnKeyHashOrThePlaceholder) {
  testing_support::TempDir dir;
  const QByteArray placeholder = master::Ut2004Credentials::Placeholder().KeyHash();
  const QByteArray own = "0123456789abcdef0123456789abcdef";
  struct Case {
    const char* ini;
    QByteArray expected;
    int warnings;
  };
  const Case cases[] = {
      {"[Settings]\r\nUT2004KeyHash=0123456789abcdef0123456789abcdef\r\n", placeholder, 0},
      {"[Masters]\r\nUT2004KeyHash = 0123456789ABCDEF0123456789ABCDEF \r\n", own, 0},
      {"[Masters]\r\nUT2004KeyHash=\r\n", placeholder, 0},
      {"[Masters]\r\nUT2004KeyHash=ABCDE-FGHIJ-KLMNO-PQRST\r\n", placeholder, 1},
      {"[Masters]\r\nUT2004KeyHash=0123456789abcdef0123456789abcde\r\n", placeholder, 1},
  };
  for (const Case& c : cases) {
    const QString ini = dir.Write("quavik.ini", c.ini);
    QStringList warnings;
    EXPECT_EQ(master::ReadUt2004Credentials(ini, &warnings).KeyHash(), c.expected) << c.ini;
    EXPECT_EQ(warnings.size(), c.warnings) << c.ini;
  }
  QStringList warnings;
  EXPECT_EQ(master::ReadUt2004Credentials(dir.File("none.ini"), &warnings).KeyHash(), placeholder);
  EXPECT_TRUE(warnings.isEmpty());
  EXPECT_NE(own, placeholder);
}

TEST(ListedGame, TacticalOpsKeepsItsOwnGameTypes) {
  const struct {
    Game game;
    bool listedUnderOwnName;
    std::optional<QString> gameType;
    bool belongs;
  } cases[] = {
      {Game::TacticalOps, false, QString("s_SWATGame"), true},
      {Game::TacticalOps, false, QString("S_SWATGAME"), true},
      {Game::TacticalOps, true, QString("s_SWATGameExt"), true},
      {Game::TacticalOps, false, QString("CTFGame"), false},
      {Game::TacticalOps, true, QString("DeathMatchPlus"), false},  // its own answer counts
      {Game::TacticalOps, false, QString("Xs_SWATGame"), false},
      {Game::TacticalOps, true, std::nullopt, true},
      {Game::TacticalOps, false, std::nullopt, false},
      {Game::UT, false, QString("s_SWATGame"), true},
      {Game::UT, false, std::nullopt, true},
      {Game::UT2004, false, QString("xDeathMatch"), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(master::BelongsToGame(c.game, c.listedUnderOwnName, c.gameType), c.belongs)
        << master::GameName(c.game).toStdString() << " " << c.gameType.value_or("(no answer)").toStdString();
  }
  EXPECT_EQ(master::GameSpyNames(Game::TacticalOps), (QStringList{"tacticalops", "ut"}));
  EXPECT_TRUE(master::GameSpyNames(Game::UT2004).isEmpty());
  for (const char* name : {"ut", "to", "ut2003", "ut2004"})
    EXPECT_EQ(master::GameName(*master::GameFromName(name)), name);
  EXPECT_FALSE(master::GameFromName("UT"));
}

TEST(ListedGame, JoinPortFromAnswerOrList) {
  master::ServerEntry natted;
  natted.address = "81.1.1.1";
  natted.queryPort = 7778;
  natted.gamePort = 9000;
  master::ServerEntry plain = natted;
  plain.gamePort = 0;
  const struct {
    Game game;
    const master::ServerEntry* entry;
    std::optional<QString> hostport;
    quint16 joinPort;
  } cases[] = {
      {Game::UT, &plain, QString("7000"), 7000},
      {Game::TacticalOps, &plain, QString(" 7000 "), 7000},
      {Game::UT, &plain, std::nullopt, 7777},
      {Game::UT, &plain, QString("0"), 7777},
      {Game::UT, &plain, QString("70000"), 7777},
      {Game::UT, &plain, QString("x"), 7777},
      {Game::UT2004, &natted, QString("7000"), 9000},  // the master's port, not what the server believes
      {Game::UT2003, &natted, std::nullopt, 9000},
      {Game::UT2004, &plain, std::nullopt, 7777},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(master::JoinPort(c.game, *c.entry, c.hostport), c.joinPort)
        << master::GameName(c.game).toStdString() << " " << c.hostport.value_or("-").toStdString();
  }
}

}  // namespace
