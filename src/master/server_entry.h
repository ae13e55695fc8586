// One game server as a master list names it. The query port is what the
// master gives for UT and Tactical Ops (the game port is then unknown until
// the server's own answer says its hostport, or query port - 1); the UT 2004
// master gives both, and its name, map, game type and counts, which lag
// behind the server: only the server's own answer counts for those.
#pragma once
#include <QString>
#include <QStringList>

namespace master {

struct ServerEntry {
  QString address;        // numeric IPv4, as listed
  quint16 queryPort = 0;
  quint16 gamePort = 0;   // 0 when the master did not say
  // What a UT 2004 master says about the server; empty / -1 for the others.
  QString name;
  QString map;
  QString gameType;
  int players = -1;
  int maxPlayers = -1;
  QStringList masters;    // "host:port" of every master that listed it
};

}  // namespace master
