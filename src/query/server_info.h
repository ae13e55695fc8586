// What a game server says about itself in answer to a query: its name, map,
// player counts, the players and the rules, with the round trip of the
// request as the ping. Names are display text: colour codes removed.
#pragma once
#include <QList>
#include <QPair>
#include <QString>

namespace query {

// The team number a player without a team gets (the games' own convention).
inline constexpr int kNoTeam = 255;

struct PlayerInfo {
  QString name;
  int score = 0;
  int ping = 0;
  int team = kNoTeam;
};

struct ServerInfo {
  QString name;
  QString map;       // the map's file name (without extension)
  QString mapTitle;  // the map's own title, when the server sends one
  QString gameType;
  int players = 0;
  int maxPlayers = 0;
  int pingMs = -1;  // the info request's round trip; -1 when not measured
  QList<PlayerInfo> playerList;
  QList<QPair<QString, QString>> rules;  // in the order the server sent them
};

}  // namespace query
