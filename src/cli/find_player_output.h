// What the public-server modes print: one tab-separated line per match or
// server as they come (tabs and line breaks inside a value become blanks),
// or one JSON object at the end (UTF-8; unknown numbers are null). Texts are
// display text: colour codes and other control characters removed.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "cli/find_player_arguments.h"

// One listed server and what its own answer said.
struct FoundServer {
  QString address;        // numeric IPv4
  quint16 queryPort = 0;
  quint16 joinPort = 0;   // the game port a player joins on
  QStringList masters;    // "host:port" of the masters that listed it
  bool answered = false;
  QString name;
  QString map;
  QString gameType;
  int players = -1;       // -1: unknown
  int maxPlayers = -1;
  int pingMs = -1;

  QString JoinAddress() const;  // "IP:GAMEPORT"
};

// A player whose name matched, on the server it was found on.
struct FoundPlayer {
  QString name;
  int score = 0;
  int pingMs = 0;
  int team = 255;
  FoundServer server;
};

struct MasterOutcome {
  QString master;  // "host:port"
  int servers = 0; // servers it listed (after the drop rules)
  QString error;   // why it gave no list; empty when it gave one
};

struct FinderSummary {
  FinderMode mode = FinderMode::FindPlayer;
  QString player;
  QString game;    // "ut", "to", "ut2003", "ut2004"
  std::vector<MasterOutcome> masters;
  int serversListed = 0;
  int serversAnswered = 0;
  double seconds = 0;
};

QByteArray FormatMatchLine(const FoundPlayer& match);
QByteArray FormatServerLine(const FoundServer& server);
QByteArray FormatFindJson(const FinderSummary& summary, const std::vector<FoundPlayer>& matches);
QByteArray FormatListJson(const FinderSummary& summary, const std::vector<FoundServer>& servers);

// "812 of 950 servers answered, 6 s"
QString ProgressLine(int answered, int listed, qint64 elapsedMs);

// 3 without any list, then 0 for a printed list or a match, 1 for no match.
int FinderExitCode(FinderMode mode, bool haveList, size_t matches);
