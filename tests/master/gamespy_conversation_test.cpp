// The GameSpy-style master conversation as bytes: the answer to the
// challenge, the list read whichever way the bytes are cut, what is skipped,
// what fails, and the caps.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "master/gamespy_conversation.h"
#include "master/internal/gamespy_validate.h"

namespace {

using master::GamespyConversation;
using master::GamespyGame;
using master::GamespyLimits;
using Progress = master::MasterConversation::Progress;

// The first row is the published example; the others were worked out with a
// separate script from the description of the scheme, not with this code.
TEST(GamespyValidate, AnswersTheChallengeWithTheGamesSecret) {
  struct Case {
    const char* challenge;
    const char* secret;
    const char* answer;
  } const cases[] = {
      {"wookie", "Z5Nfb0", "2/TYFMRc"},
      {"wookie", "uMctFb", "ZKZHWJ8d"},
      {"ABCDEF", "Z5Nfb0", "5OOIQ5Ha"},
      {"qwerty", "uMctFb", "E+KCQVrM"},
      {"abcdefg", "Z5Nfb0", "QnhL/w4kpg=="},
      {"", "Z5Nfb0", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(master::GamespyValidate(c.challenge, c.secret), QByteArray(c.answer)) << c.challenge << " " << c.secret;
  }
}

TEST(GamespyGames, TheTableKnowsUtAndTacticalOps) {
  ASSERT_TRUE(master::FindGamespyGame("ut").has_value());
  EXPECT_EQ(master::FindGamespyGame("ut")->secret, "Z5Nfb0");
  ASSERT_TRUE(master::FindGamespyGame("tacticalops").has_value());
  EXPECT_EQ(master::FindGamespyGame("tacticalops")->secret, "uMctFb");
  EXPECT_FALSE(master::FindGamespyGame("ut2").has_value());
}

struct Outcome {
  Progress progress = Progress::Waiting;
  std::vector<std::string> entries;  // "address:port"
  QByteArray sent;
  int skipped = 0;
  QString error;
  QString warning;
};

enum class Cut { Whole, ByteByByte, Random };

// The master's bytes handed over in pieces as `cut` says; then its close when `closes`.
Outcome Converse(const std::string& fromMaster, bool closes, Cut cut, unsigned seed = 0, GamespyLimits limits = {},
                 GamespyGame game = *master::FindGamespyGame("ut")) {
  GamespyConversation conversation(game, limits);
  Outcome outcome;
  std::mt19937 random(seed);
  size_t at = 0;
  while (at < fromMaster.size() && outcome.progress == Progress::Waiting) {
    size_t piece = fromMaster.size() - at;
    if (cut == Cut::ByteByByte) piece = 1;
    if (cut == Cut::Random) piece = std::min(piece, std::uniform_int_distribution<size_t>(1, 9)(random));
    outcome.progress = conversation.Take(std::string_view(fromMaster).substr(at, piece));
    outcome.sent += conversation.TakeOutgoing();
    at += piece;
  }
  if (closes && outcome.progress == Progress::Waiting) outcome.progress = conversation.Closed();
  for (const master::ServerEntry& entry : conversation.TakeEntries()) {
    outcome.entries.push_back(entry.address.toStdString() + ":" + std::to_string(entry.queryPort));
  }
  outcome.skipped = conversation.SkippedEntries();
  outcome.error = conversation.Error();
  outcome.warning = conversation.Warning();
  return outcome;
}

std::string Repeated(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

const std::string kChallenge = "\\basic\\\\secure\\wookie";
const QByteArray kUtAnswer = "\\gamename\\ut\\location\\0\\validate\\2/TYFMRc\\final\\\\list\\\\gamename\\ut\\final\\";

TEST(GamespyConversation, ReadsTheListHoweverTheBytesAreCut) {
  struct Case {
    const char* what;
    std::string fromMaster;
    bool closes;
    Progress progress;
    std::vector<std::string> entries;
    int skipped;
    const char* warning;  // a part of the warning; "" for none
    const char* error;    // a part of the error; "" for none
  } const cases[] = {
      {"challenge with \\final\\, list with \\final\\",
       kChallenge + "\\final\\" + "\\ip\\10.0.0.1:7778\\ip\\192.168.5.20:8889\\final\\", false, Progress::Complete,
       {"10.0.0.1:7778", "192.168.5.20:8889"}, 0, "", ""},
      {"challenge without \\final\\", kChallenge + "\\ip\\10.0.0.1:7778\\final\\", false, Progress::Complete,
       {"10.0.0.1:7778"}, 0, "", ""},
      {"the list ends at the close", kChallenge + "\\final\\\\ip\\10.0.0.1:7778\\ip\\10.0.0.2:7778", true,
       Progress::Complete, {"10.0.0.1:7778", "10.0.0.2:7778"}, 0, "without \\final\\", ""},
      {"an empty list after a challenge with \\final\\", kChallenge + "\\final\\\\final\\", false, Progress::Complete,
       {}, 0, "", ""},
      {"unusable entries are skipped and counted",
       kChallenge + "\\ip\\1.2.3:7778\\ip\\1.2.3.4:0\\ip\\1.2.3.4:65536\\ip\\256.1.1.1:7778\\ip\\a.b.c.d:7778"
                    "\\ip\\1.2.3.4\\ip\\1.2.3.4:77x8\\ip\\\\ip\\10.0.0.1:7778\\final\\",
       false, Progress::Complete, {"10.0.0.1:7778"}, 8, "8 entries", ""},
      {"unknown fields are ignored", kChallenge + "\\ip\\10.0.0.1:7778\\region\\eu\\final\\", false,
       Progress::Complete, {"10.0.0.1:7778"}, 0, "1 unknown", ""},
      {"the master drops us after our answer", kChallenge + "\\final\\", true, Progress::Failed, {}, 0, "",
       "without a list"},
      {"the master closes before its challenge", "\\basic\\", true, Progress::Failed, {}, 0, "", "without a challenge"},
      {"not a master at all", "HTTP/1.1 400 Bad Request\r\n\r\n", false, Progress::Failed, {}, 0, "",
       "not a GameSpy-style list"},
      {"garbage instead of the list", kChallenge + "\\final\\<html><body>busy</body></html>", false, Progress::Failed,
       {}, 0, "", "not a GameSpy-style list"},
      {"garbage after some entries", kChallenge + "\\ip\\10.0.0.1:7778\\\x01\x02\x03\\", false, Progress::Failed,
       {"10.0.0.1:7778"}, 0, "", "not a GameSpy-style list"},
      {"a value that never ends", kChallenge + "\\ip\\" + std::string(300, '7'), false, Progress::Failed, {}, 0, "",
       "runs on"},
      {"a challenge with control characters", "\\basic\\\\secure\\wo\x01kie\\final\\", false, Progress::Failed, {}, 0,
       "", "challenge"},
      {"a greeting without a challenge", "\\basic\\" + Repeated("\\x\\y", 1100), false, Progress::Failed, {}, 0, "",
       "without a challenge"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A challenge of six letters is answered, whatever comes after it.
    const bool answers = c.fromMaster.rfind(kChallenge, 0) == 0;
    std::vector<std::pair<Cut, unsigned>> cuts = {{Cut::Whole, 0}, {Cut::ByteByByte, 0}};
    for (unsigned seed = 1; seed <= 20; ++seed) cuts.emplace_back(Cut::Random, seed);
    for (const auto& [cut, seed] : cuts) {
      SCOPED_TRACE(cut == Cut::Whole ? "whole" : cut == Cut::ByteByByte ? "byte by byte" : "cut at random");
      SCOPED_TRACE(seed);
      const Outcome outcome = Converse(c.fromMaster, c.closes, cut, seed);
      EXPECT_EQ(outcome.progress, c.progress);
      EXPECT_EQ(outcome.entries, c.entries);
      EXPECT_EQ(outcome.skipped, c.skipped);
      EXPECT_EQ(outcome.sent, answers ? kUtAnswer : QByteArray());
      if (*c.warning) {
        EXPECT_TRUE(outcome.warning.contains(c.warning)) << outcome.warning.toStdString();
      } else {
        EXPECT_TRUE(outcome.warning.isEmpty()) << outcome.warning.toStdString();
      }
      if (c.progress == Progress::Failed) {
        EXPECT_FALSE(outcome.error.isEmpty());
      }
      if (*c.error) {
        EXPECT_TRUE(outcome.error.contains(c.error)) << outcome.error.toStdString();
      }
    }
  }
}

TEST(GamespyConversation, AnswersAChallengeWithoutFinalAtOnce) {
  // A master that sends no \final\ waits for our answer before anything else.
  GamespyConversation conversation(*master::FindGamespyGame("tacticalops"));
  EXPECT_EQ(conversation.Take("\\basic\\\\secure\\woo"), Progress::Waiting);
  EXPECT_TRUE(conversation.TakeOutgoing().isEmpty());
  EXPECT_EQ(conversation.Take("kie"), Progress::Waiting);
  EXPECT_EQ(conversation.TakeOutgoing(),
            QByteArray("\\gamename\\tacticalops\\location\\0\\validate\\ZKZHWJ8d\\final\\"
                       "\\list\\\\gamename\\tacticalops\\final\\"));
}

TEST(GamespyConversation, KeepsWhatCameWithinTheCaps) {
  std::string list = kChallenge + "\\final\\";
  for (int i = 1; i <= 50; ++i) list += "\\ip\\10.0.0." + std::to_string(i) + ":7778";
  list += "\\final\\";

  const Outcome byEntries = Converse(list, false, Cut::Random, 3, GamespyLimits{qint64(1) << 20, 20});
  EXPECT_EQ(byEntries.progress, Progress::Complete);
  EXPECT_EQ(byEntries.entries.size(), 20u);
  EXPECT_EQ(byEntries.entries.back(), "10.0.0.20:7778");
  EXPECT_TRUE(byEntries.warning.contains("cut at 20 entries")) << byEntries.warning.toStdString();

  const Outcome byBytes = Converse(list, false, Cut::Whole, 0, GamespyLimits{150, 20000});
  EXPECT_EQ(byBytes.progress, Progress::Complete);
  EXPECT_GT(byBytes.entries.size(), 0u);
  EXPECT_LT(byBytes.entries.size(), 10u);
  EXPECT_TRUE(byBytes.warning.contains("cut at 150 bytes")) << byBytes.warning.toStdString();

  // Before the challenge, the cap is a failure: there is no list to keep.
  const Outcome noChallenge = Converse("\\basic\\" + std::string(100, 'x'), false, Cut::Whole, 0, GamespyLimits{50, 10});
  EXPECT_EQ(noChallenge.progress, Progress::Failed);
}

TEST(GamespyConversation, NothingIsTakenAfterTheEnd) {
  GamespyConversation conversation(*master::FindGamespyGame("ut"));
  EXPECT_EQ(conversation.Take(kChallenge + "\\final\\\\ip\\10.0.0.1:7778\\final\\\\ip\\10.0.0.2:7778\\final\\"),
            Progress::Complete);
  EXPECT_EQ(conversation.Take("\\ip\\10.0.0.3:7778\\final\\"), Progress::Complete);
  EXPECT_EQ(conversation.Closed(), Progress::Complete);
  EXPECT_EQ(conversation.TakeEntries().size(), 1u);
}

}  // namespace
