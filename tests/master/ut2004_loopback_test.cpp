// The UT 2004 conversation over real loopback TCP against the stand-in
// master, and qstat (quakestat -ut2004m) reading the same stand-in as an
// independent client: its list must agree with ours.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <set>

#include "master/internal/ut2004_conversation.h"
#include "master/ut2004_game_types.h"
#include "support/temp_dir.h"
#include "support/ut2004_master_standin.h"

namespace {

using master::MasterConversation;
using master::ServerEntry;
using master::Ut2004Conversation;
using master::Ut2004Credentials;
using testing_support::Ut2004MasterStandIn;
using Progress = MasterConversation::Progress;

// A small blocking client for tests: connects, sends what the conversation
// has to say, feeds it what arrives, and gives up after timeoutMs.
struct DriveResult {
  Progress progress = Progress::Waiting;  // Waiting: timed out
  std::vector<ServerEntry> entries;
};

DriveResult Drive(MasterConversation& conversation, unsigned short port, int timeoutMs = 3000) {
  DriveResult result;
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    result.progress = Progress::Failed;
    return result;
  }
  QElapsedTimer timer;
  timer.start();
  while (result.progress == Progress::Waiting && timer.elapsed() < timeoutMs) {
    const QByteArray out = conversation.TakeOutgoing();
    if (!out.isEmpty()) ::send(fd, out.constData(), size_t(out.size()), MSG_NOSIGNAL);
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buffer[1500];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    result.progress = n > 0 ? conversation.Take(std::string_view(buffer, size_t(n))) : conversation.Closed();
  }
  ::close(fd);
  result.entries = conversation.TakeEntries();
  return result;
}

std::vector<Ut2004MasterStandIn::Server> PublicServers() {
  return {
      {"127.0.0.1", 7777, 7778, "Alpha", "DM-Rankin", "xDeathMatch", 3, 16},
      // Several servers on one address; one behind NAT, with a query port
      // that is not game port + 1.
      {"127.0.0.1", 7787, 9100, "\x1b\xff\x20\x20Red\x1b\x20\xff\x20 Base of the Clan", "CTF-FaceClassicXL-\x1b\xff",
       "xCTFGame", 0, 8},
      {"127.0.0.2", 7777, 7778, "A very long server name that the master cuts", "ONS-Torlan", "ONSOnslaughtGame", 12,
       32},
      {"127.0.0.3", 7777, 7778, "Mutant", "DM-Deck17", "xMutantGame", 1, 8},
  };
}

std::set<std::string> Keys(const std::vector<ServerEntry>& entries) {
  std::set<std::string> keys;
  for (const ServerEntry& entry : entries)
    keys.insert(QStringLiteral("%1:%2/%3").arg(entry.address).arg(entry.gamePort).arg(entry.queryPort).toStdString());
  return keys;
}

TEST(Ut2004Loopback, EveryStockGameTypeOneConnectionEachMergesToTheWholeList) {
  Ut2004MasterStandIn::Options options;
  options.servers = PublicServers();
  options.expectedKey = "ABCDE-FGHIJ-KLMNO-PQRST";
  Ut2004MasterStandIn standIn(options);
  QString error;
  const auto credentials = Ut2004Credentials::FromCdKey("ABCDE-FGHIJ-KLMNO-PQRST", &error);
  std::vector<ServerEntry> all;
  for (const auto& conversation : master::Ut2004ListConversations(*credentials, master::Ut2004StockGameTypes())) {
    DriveResult result = Drive(*conversation, standIn.Port());
    ASSERT_EQ(result.progress, Progress::Complete) << conversation->Error().toStdString();
    EXPECT_TRUE(conversation->Warning().isEmpty()) << conversation->Warning().toStdString();
    all.insert(all.end(), result.entries.begin(), result.entries.end());
  }
  EXPECT_EQ(standIn.Refusals(), 0);
  EXPECT_EQ(standIn.Connections(), master::Ut2004StockGameTypes().size());
  EXPECT_EQ(Keys(all), (std::set<std::string>{"127.0.0.1:7777/7778", "127.0.0.1:7787/9100", "127.0.0.2:7777/7778",
                                               "127.0.0.3:7777/7778"}));
  for (const ServerEntry& entry : all) {
    if (entry.gameType == "xCTFGame") {
      EXPECT_EQ(entry.name, "zzz Redzzz  Base of the C");
      EXPECT_EQ(entry.map, "CTF-FaceClassicX") << "cut to 16 by the master";
      EXPECT_EQ(entry.players, 0);
      EXPECT_EQ(entry.maxPlayers, 8);
    }
    if (entry.gameType == "ONSOnslaughtGame") {
      EXPECT_EQ(entry.name, "A very long server name t");
    }
  }
}

TEST(Ut2004Loopback, ThePlaceholderKeyIsTakenAndAQueryWithoutFilterGetsNothing) {
  Ut2004MasterStandIn::Options options;
  options.servers = PublicServers();
  Ut2004MasterStandIn standIn(options);
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QString());
  const DriveResult result = Drive(conversation, standIn.Port());
  EXPECT_EQ(result.progress, Progress::Complete) << conversation.Error().toStdString();
  EXPECT_TRUE(result.entries.empty());
  ASSERT_EQ(standIn.Queries().size(), 1u);
  EXPECT_EQ(standIn.Queries()[0], "");
}

TEST(Ut2004Loopback, AWrongKeyIsRefused) {
  Ut2004MasterStandIn::Options options;
  options.servers = PublicServers();
  options.expectedKey = "ABCDE-FGHIJ-KLMNO-PQRST";
  Ut2004MasterStandIn standIn(options);
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QStringLiteral("xDeathMatch"));
  EXPECT_EQ(Drive(conversation, standIn.Port()).progress, Progress::Failed);
  EXPECT_EQ(standIn.Refusals(), 1);
  EXPECT_TRUE(conversation.Error().contains("CD key")) << conversation.Error().toStdString();
}

struct HostileCase {
  const char* name;
  Ut2004MasterStandIn::Mode mode;
  Progress expected;  // Waiting: the client's own timeout has to end it
  size_t entries;
};

class Ut2004LoopbackHostile : public testing::TestWithParam<HostileCase> {};

TEST_P(Ut2004LoopbackHostile, EndsAsItShould) {
  Ut2004MasterStandIn::Options options;
  options.servers = PublicServers();
  options.servers.push_back({"127.0.0.4", 7777, 7778, "Second DM", "DM-Gael", "xDeathMatch", 0, 4});
  options.mode = GetParam().mode;
  Ut2004MasterStandIn standIn(options);
  Ut2004Conversation conversation(Ut2004Credentials::Placeholder(), QStringLiteral("xDeathMatch"));
  const DriveResult result = Drive(conversation, standIn.Port(), 1500);
  EXPECT_EQ(result.progress, GetParam().expected) << conversation.Error().toStdString();
  EXPECT_EQ(result.entries.size(), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Masters, Ut2004LoopbackHostile,
    testing::Values(HostileCase{"SplitBytes", Ut2004MasterStandIn::Mode::SplitBytes, Progress::Complete, 2},
                    HostileCase{"StallAfterChallenge", Ut2004MasterStandIn::Mode::StallAfterChallenge,
                                Progress::Waiting, 0},
                    HostileCase{"StallBeforeList", Ut2004MasterStandIn::Mode::StallBeforeList, Progress::Waiting, 0},
                    HostileCase{"Garbage", Ut2004MasterStandIn::Mode::GarbageAfterVerified, Progress::Failed, 0},
                    HostileCase{"AbsurdLength", Ut2004MasterStandIn::Mode::AbsurdLength, Progress::Failed, 0},
                    HostileCase{"CloseMidList", Ut2004MasterStandIn::Mode::CloseMidList, Progress::Complete, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// qstat lists "ut2004s address:gameport" per server in its outfile mode,
// without querying them. It refuses challenges of more than eight digits
// and wants the server count in a segment of its own; the stand-in obliges
// with a pause (a loaded machine could still merge the two for qstat).
TEST(Ut2004Loopback, QstatReadsTheSameList) {
  const QString quakestat = QStandardPaths::findExecutable("quakestat");
  if (quakestat.isEmpty()) GTEST_SKIP() << "quakestat is not installed";
  Ut2004MasterStandIn::Options options;
  options.servers = PublicServers();
  options.servers.push_back({"127.0.0.4", 7777, 7778, "Second DM", "DM-Gael", "xDeathMatch", 0, 4});
  options.challenge = "87654321";
  options.countPauseMs = 300;
  options.expectedKey = "ABCDE-FGHIJ-KLMNO-PQRST";
  Ut2004MasterStandIn standIn(options);
  testing_support::TempDir dir;
  const QString keyFile = dir.Write("cdkey", "ABCDE-FGHIJ-KLMNO-PQRST");

  QString error;
  const auto credentials = Ut2004Credentials::FromCdKey("ABCDE-FGHIJ-KLMNO-PQRST", &error);
  for (const QString& gameType : {QStringLiteral("xDeathMatch"), QStringLiteral("xCTFGame")}) {
    QProcess qstat;
    qstat.start(quakestat, {"-nh", QStringLiteral("-ut2004m,outfile,cdkey=%1,gametype=%2").arg(keyFile, gameType),
                            QStringLiteral("127.0.0.1:%1,-").arg(standIn.Port())});
    ASSERT_TRUE(qstat.waitForFinished(20000));
    std::set<std::string> theirs;
    for (const QByteArray& line : qstat.readAllStandardOutput().split('\n')) {
      if (line.startsWith("ut2004s ")) theirs.insert(line.mid(8).trimmed().toStdString());
    }
    Ut2004Conversation conversation(*credentials, gameType);
    const DriveResult ours = Drive(conversation, standIn.Port());
    ASSERT_EQ(ours.progress, Progress::Complete) << conversation.Error().toStdString();
    std::set<std::string> ourKeys;
    for (const ServerEntry& entry : ours.entries)
      ourKeys.insert(QStringLiteral("%1:%2").arg(entry.address).arg(entry.gamePort).toStdString());
    EXPECT_FALSE(ourKeys.empty());
    EXPECT_EQ(theirs, ourKeys) << gameType.toStdString();
  }
  EXPECT_EQ(standIn.Refusals(), 0) << "both clients answer the challenge the same way";
}

}  // namespace
