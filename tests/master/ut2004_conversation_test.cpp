// The UT 2004 master conversation at byte level: what it says at each step,
// how it reads the list in any segmentation, and how it treats a master
// that refuses, lies about lengths or closes early.
#include <gtest/gtest.h>

#include <string>

#include "master/internal/ut2004_conversation.h"
#include "master/ut2004_game_types.h"

namespace {

using master::MasterConversation;
using master::ServerEntry;
using master::Ut2004Conversation;
using master::Ut2004Credentials;
using Progress = MasterConversation::Progress;

std::string UInt32(quint32 value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
  return out;
}

std::string Str(const std::string& text) { return char(text.size() + 1) + text + '\0'; }

std::string Framed(const std::string& payload) { return UInt32(quint32(payload.size())) + payload; }

std::string Hex(const QByteArray& bytes) { return bytes.toHex(' ').toStdString(); }

std::string Record(const std::string& dotted, quint16 gamePort, quint16 queryPort, const std::string& name,
                   const std::string& map, const std::string& gameType, int players, int maxPlayers) {
  std::string payload;
  for (const QString& part : QString::fromStdString(dotted).split('.')) payload.push_back(char(part.toInt()));
  payload += std::string{char(gamePort & 0xFF), char(gamePort >> 8), char(queryPort & 0xFF), char(queryPort >> 8)};
  payload += Str(name) + Str(map) + Str(gameType);
  payload += std::string{char(players), char(maxPlayers)};
  payload += UInt32(0);  // flags
  return Framed(payload);
}

const std::string kChallenge = Framed(Str("12345678"));
const std::string kApproved = Framed(Str("APPROVED") + UInt32(3));
const std::string kVerified = Framed(Str("VERIFIED"));

Ut2004Credentials UserKey() {
  QString error;
  return *Ut2004Credentials::FromCdKey(QStringLiteral("ABCDE-FGHIJ-KLMNO-PQRST"), &error);
}

// The master's whole side of one list: two servers on one address, the
// second behind NAT (its query port is not game port + 1), a colour-coded
// name shown the master's way and a map cut inside a colour code.
const std::string kList = Framed(UInt32(2) + '\x01') +
                          Record("10.0.0.7", 7777, 7778, "Alpha", "DM-Rankin", "xDeathMatch", 3, 16) +
                          Record("10.0.0.7", 7787, 9100, "zzz Red Base", "DM-\x1b\xff", "xDeathMatch", 0, 8);

struct Segmentation {
  const char* name;
  size_t chunk;  // 0: each master message whole
};

class Ut2004ConversationSegmentation : public testing::TestWithParam<Segmentation> {};

// Feeds the master's messages in the given segmentation, answering as a
// client does between them; returns what the client said, in order.
std::vector<QByteArray> Converse(Ut2004Conversation& conversation, const std::vector<std::string>& messages,
                                 size_t chunk, Progress* last) {
  std::vector<QByteArray> said;
  *last = Progress::Waiting;
  for (const std::string& message : messages) {
    const size_t step = chunk ? chunk : message.size();
    for (size_t pos = 0; pos < message.size() && *last == Progress::Waiting; pos += step) {
      *last = conversation.Take(std::string_view(message).substr(pos, step));
      const QByteArray out = conversation.TakeOutgoing();
      if (!out.isEmpty()) said.push_back(out);
    }
  }
  return said;
}

TEST_P(Ut2004ConversationSegmentation, LogsInAsksForItsGameTypeAndReadsTheList) {
  Ut2004Conversation conversation(UserKey(), QStringLiteral("xDeathMatch"));
  EXPECT_TRUE(conversation.TakeOutgoing().isEmpty()) << "the master speaks first";
  Progress last;
  const auto said = Converse(conversation, {kChallenge, kApproved, kVerified, kList}, GetParam().chunk, &last);
  ASSERT_EQ(last, Progress::Complete) << conversation.Error().toStdString();
  ASSERT_EQ(said.size(), 3u);
  // An independent client (qstat) logged in with these bytes for the same key
  // and challenge; only the version differs (it claims 3323, 0x0cfb).
  EXPECT_EQ(Hex(said[0]),
            "68 00 00 00 21 33 62 35 30 63 37 38 35 36 65 64 30 36 34 62 66 61 36 66 62 38 64 61 36 30 30 31 35 "
            "38 39 62 30 00 21 30 36 64 36 63 34 62 32 38 64 30 39 33 30 63 66 62 62 32 33 61 63 61 35 31 30 62 "
            "33 30 34 35 36 00 0c 55 54 32 4b 34 43 4c 49 45 4e 54 00 29 0d 00 00 06 04 69 6e 74 00 00 00 00 00 "
            "ee ee 00 00 11 00 00 00 01");
  EXPECT_EQ(said[1].toStdString(), Framed(Str(std::string(32, '0'))));
  EXPECT_EQ(said[2].toStdString(), Framed(std::string("\x00\x01", 2) + Str("gametype") + Str("xDeathMatch") + '\0'));

  const std::vector<ServerEntry> entries = conversation.TakeEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].address, "10.0.0.7");
  EXPECT_EQ(entries[0].gamePort, 7777);
  EXPECT_EQ(entries[0].queryPort, 7778);
  EXPECT_EQ(entries[0].name, "Alpha");
  EXPECT_EQ(entries[0].map, "DM-Rankin");
  EXPECT_EQ(entries[0].gameType, "xDeathMatch");
  EXPECT_EQ(entries[0].players, 3);
  EXPECT_EQ(entries[0].maxPlayers, 16);
  EXPECT_EQ(entries[1].address, "10.0.0.7");
  EXPECT_EQ(entries[1].gamePort, 7787);
  EXPECT_EQ(entries[1].queryPort, 9100);
  EXPECT_EQ(entries[1].name, "zzz Red Base");
  EXPECT_EQ(entries[1].map, "DM-") << "a colour code cut by the master is removed, not shown";
  EXPECT_TRUE(conversation.Warning().isEmpty());
  EXPECT_EQ(conversation.Closed(), Progress::Complete) << "the master closes after the list";
}

INSTANTIATE_TEST_SUITE_P(Segmentations, Ut2004ConversationSegmentation,
                         testing::Values(Segmentation{"Whole", 0}, Segmentation{"Bytes", 1},
                                         Segmentation{"Threes", 3}, Segmentation{"Sevens", 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Ut2004Conversation, AllOfTheMastersSideInOneSegment) {
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QStringLiteral("xDeathMatch"));
  // A master that does not wait for the client still gets the right answers,
  // in order, once the client has read each step.
  EXPECT_EQ(conversation.Take(kChallenge + kApproved + kVerified + kList), Progress::Complete);
  const QByteArray said = conversation.TakeOutgoing();
  EXPECT_TRUE(said.endsWith(QByteArray::fromStdString(Str("xDeathMatch") + '\0')));
  EXPECT_EQ(conversation.TakeEntries().size(), 2u);
}

TEST(Ut2004Conversation, WithoutAGameTypeAsksWithoutFilters) {
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QString());
  conversation.Take(kChallenge + kApproved);
  conversation.TakeOutgoing();
  EXPECT_EQ(conversation.Take(kVerified), Progress::Waiting);
  EXPECT_EQ(conversation.TakeOutgoing().toStdString(), Framed(std::string("\x00\x00", 2)));
  EXPECT_EQ(conversation.Take(Framed(UInt32(0) + '\x01')), Progress::Complete) << "an empty list is a whole list";
  EXPECT_TRUE(conversation.TakeEntries().empty());
}

TEST(Ut2004Conversation, ANineDigitChallengeIsAnswered) {
  Ut2004Conversation conversation(UserKey(), QStringLiteral("xCTFGame"));
  conversation.Take(Framed(Str("123456789")));
  const QByteArray login = conversation.TakeOutgoing();
  // md5("ABCDE-FGHIJ-KLMNO-PQRST123456789"), worked out apart from this code.
  EXPECT_TRUE(login.contains("97598f53bb5d81e11952294e5fb6885b")) << login.toStdString();
}

struct Refusal {
  const char* name;
  std::string master;  // everything the master sends
  bool closes;         // and then it closes
  const char* error;   // part of the error
};

class Ut2004ConversationRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(Ut2004ConversationRefusal, FailsWithAReason) {
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QStringLiteral("xDeathMatch"));
  Progress progress = conversation.Take(GetParam().master);
  if (GetParam().closes && progress == Progress::Waiting) progress = conversation.Closed();
  EXPECT_EQ(progress, Progress::Failed);
  EXPECT_TRUE(conversation.Error().contains(QString::fromUtf8(GetParam().error))) << conversation.Error().toStdString();
  EXPECT_TRUE(conversation.TakeEntries().empty());
  EXPECT_EQ(conversation.Take(kList), Progress::Failed) << "a failed conversation stays failed";
}

INSTANTIATE_TEST_SUITE_P(
    Masters, Ut2004ConversationRefusal,
    testing::Values(
        Refusal{"KeyDenied", kChallenge + Framed(Str("DENIED")), false, "did not accept"},
        Refusal{"NotVerified", kChallenge + kApproved + Framed(Str("MSG_NO")), false, "did not verify"},
        Refusal{"EmptyChallenge", Framed(Str("")), false, "challenge"},
        Refusal{"ChallengeWithControlBytes", Framed(Str("12\x01" "3")), false, "challenge"},
        Refusal{"ChallengeNotAString", Framed("\x7f\x01"), false, "challenge"},
        // Only the length of a gigabyte message arrives: refused at once.
        Refusal{"AbsurdLength", kChallenge + UInt32(1u << 30), false, "1073741824"},
        Refusal{"AbsurdLengthInTheList", kChallenge + kApproved + kVerified + UInt32(0xFFFFFFFF), false, "bytes"},
        Refusal{"CountTooShort", kChallenge + kApproved + kVerified + Framed("\x02"), false, "server count"},
        Refusal{"ClosedBeforeChallenge", "", true, "without a challenge"},
        Refusal{"ClosedWhileLoggingIn", kChallenge + kApproved, true, "during the login"},
        Refusal{"ClosedBeforeList", kChallenge + kApproved + kVerified, true, "before the list"},
        Refusal{"ClosedInsideAMessage", kChallenge + kApproved + kVerified + UInt32(5) + "\x02", true,
                "before the list"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Ut2004Conversation, AListCutShortKeepsWhatArrivedWithAWarning) {
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QStringLiteral("xDeathMatch"));
  const std::string firstOfThree = Framed(UInt32(3) + '\x01') +
                                   Record("127.0.0.1", 7777, 7778, "One", "DM-1on1", "xDeathMatch", 1, 2);
  EXPECT_EQ(conversation.Take(kChallenge + kApproved + kVerified + firstOfThree), Progress::Waiting);
  EXPECT_EQ(conversation.Closed(), Progress::Complete);
  EXPECT_TRUE(conversation.Warning().contains("1 of 3")) << conversation.Warning().toStdString();
  EXPECT_EQ(conversation.TakeEntries().size(), 1u);
}

TEST(Ut2004Conversation, UnusableRecordsAreSkippedAndCounted) {
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QStringLiteral("xDeathMatch"));
  const std::string list = Framed(UInt32(4) + '\x01') +
                           Record("127.0.0.1", 0, 7778, "No game port", "DM-A", "xDeathMatch", 0, 8) +
                           Record("0.0.0.0", 7777, 7778, "No address", "DM-A", "xDeathMatch", 0, 8) +
                           Framed(std::string("\x7f\x00\x00\x01\x61\x1e", 6)) +  // ends inside the ports
                           Record("127.0.0.2", 7777, 7778, "Fine", "DM-A", "xDeathMatch", 0, 8);
  EXPECT_EQ(conversation.Take(kChallenge + kApproved + kVerified + list), Progress::Complete);
  const auto entries = conversation.TakeEntries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "Fine");
  EXPECT_TRUE(conversation.Warning().contains("3 unreadable")) << conversation.Warning().toStdString();
}

TEST(Ut2004Credentials, KeysAndHashesOfTheUser) {
  struct Case {
    const char* typed;
    bool isKey;
    const char* hash;  // "" when refused
  };
  const Case cases[] = {
      {"ABCDE-FGHIJ-KLMNO-PQRST", true, "3b50c7856ed064bfa6fb8da6001589b0"},
      {" abcdefghijklmnopqrst ", true, "3b50c7856ed064bfa6fb8da6001589b0"},
      {"ABCDE-FGHIJ-KLMNO", true, ""},
      {"ABCDE-FGHIJ-KLMNO-PQRS!", true, ""},
      {"3B50C7856ED064BFA6FB8DA6001589B0", false, "3b50c7856ed064bfa6fb8da6001589b0"},
      {"3b50c7856ed064bfa6fb8da6001589b", false, ""},
      {"3b50c7856ed064bfa6fb8da6001589bg", false, ""},
  };
  for (const Case& c : cases) {
    QString error;
    const auto credentials = c.isKey ? Ut2004Credentials::FromCdKey(QString::fromUtf8(c.typed), &error)
                                     : Ut2004Credentials::FromKeyHash(QString::fromUtf8(c.typed), &error);
    if (*c.hash) {
      ASSERT_TRUE(credentials) << c.typed;
      EXPECT_EQ(credentials->KeyHash().toStdString(), c.hash) << c.typed;
    } else {
      EXPECT_FALSE(credentials) << c.typed;
      EXPECT_FALSE(error.isEmpty()) << c.typed;
    }
  }
  // md5("3b50c7856ed064bfa6fb8da6001589b012345678"): a hash stands in for the key.
  EXPECT_EQ(Ut2004Credentials::FromKeyHash("3b50c7856ed064bfa6fb8da6001589b0", nullptr)
                ->ChallengeResponse("12345678")
                .toStdString(),
            "8fb6a1f106bb2c69685960a04ee908d3");
  EXPECT_EQ(Ut2004Credentials::Placeholder().KeyHash().size(), 32);
}

TEST(Ut2004GameTypes, OneConversationPerGameType) {
  const auto all = master::Ut2004ListConversations(Ut2004Credentials::Placeholder(), master::Ut2004StockGameTypes());
  ASSERT_EQ(all.size(), size_t(master::Ut2004StockGameTypes().size()));
  QStringList asked;
  for (const auto& conversation : all) asked << static_cast<Ut2004Conversation&>(*conversation).GameType();
  EXPECT_EQ(asked, master::Ut2004StockGameTypes());
  EXPECT_TRUE(asked.contains("ONSOnslaughtGame"));
  EXPECT_FALSE(master::Ut2003StockGameTypes().contains("ONSOnslaughtGame"));
  const auto unfiltered = master::Ut2004ListConversations(Ut2004Credentials::Placeholder(), {});
  ASSERT_EQ(unfiltered.size(), 1u);
  EXPECT_TRUE(static_cast<Ut2004Conversation&>(*unfiltered[0]).GameType().isEmpty());
}

}  // namespace
