// The games whose public servers Quavik finds, and how their servers are
// listed. Tactical Ops servers are listed under their own game name by
// some masters and under "ut" by others (Tactical Ops is a modification of
// UT and its servers announce themselves as UT servers), so a Tactical Ops
// list asks for both and keeps only the servers that are Tactical Ops by
// their own answer.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace master {

enum class Game { UT, TacticalOps, UT2003, UT2004 };

// "ut", "to", "ut2003", "ut2004" (the command line's names).
std::optional<Game> GameFromName(const QString& name);
QString GameName(Game game);

// The game names a GameSpy master is asked for, in this order; empty for the
// games whose masters speak the UT 2004 protocol.
QStringList GameSpyNames(Game game);

// True for the game types of Tactical Ops: its game class s_SWATGame and the
// classes derived from it, which keep the s_SWAT prefix.
bool IsTacticalOpsGameType(const QString& gameType);

// Whether a listed server belongs to `game`: by the game type of its own
// answer when it answered (`answeredGameType` set), else by the name it was
// listed under (`listedUnderOwnName`: listed as the game asked for, not only
// as "ut"). Every server of the other games' lists belongs to them.
bool BelongsToGame(Game game, bool listedUnderOwnName, const std::optional<QString>& answeredGameType);

}  // namespace master

#include "master/server_entry.h"

namespace master {

// The port a player joins the listed server on: for UT and Tactical Ops the
// "hostport" rule of the server's own answer (`hostportRule`, when it is a
// port), else the query port - 1; for UT 2003 and UT 2004 the game port the
// master listed (servers behind NAT forward other ports), else the query
// port - 1. 0 when there is no such port.
quint16 JoinPort(Game game, const ServerEntry& entry, const std::optional<QString>& hostportRule);

}  // namespace master
