// "quavik --query": one live query of a game server from the command line,
// without a display.
//
//   quavik --query HOST[:PORT] --game ut|to|ut2003|ut2004 [--json]
//          [--timeout MS] [--query-port N]
//
// PORT is the game port (default 7777); the query goes to PORT + 1 unless
// --query-port names another. HOST may be a name, an IPv4 address or an
// IPv6 address ("[::1]:7777" with a port). Without --json the answer is one
// key<TAB>value line each for server, map, gametype, players, max_players
// and ping_ms, then player<TAB>name<TAB>score<TAB>ping<TAB>team and
// rule<TAB>key<TAB>value lines (tabs and line breaks inside a value become
// blanks). With --json it is one object. Team 255 is no team.
// Exit code: 0 with an answer, 1 without one, 2 on unusable arguments.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "query/reply_reader.h"
#include "query/server_info.h"
#include "query/server_query.h"

struct QueryCommand {
  QString host;
  quint16 queryPort = 0;
  query::QueryProtocol protocol = query::QueryProtocol::Text;
  bool json = false;
  int timeoutMs = 1500;
};

struct ParsedQueryArguments {
  std::optional<QueryCommand> command;
  QString error;  // why the arguments can't be used, when there is no command
};

// `arguments` without the program name, "--query" first.
ParsedQueryArguments ParseQueryArguments(const QStringList& arguments);

// The answer as printed: text lines or the JSON object, each ending in a line break.
QByteArray FormatServerInfo(const query::ServerInfo& info, bool json);

// Why there is no answer, in the command line's English (the result's
// own text is the window's German).
QString QueryFailureText(const query::QueryResult& result);

// The whole mode: parses argv, runs the query on a QCoreApplication of its
// own (its event loop runs until the query ends), prints, returns the exit code.
int RunQueryCommandLine(int argc, char** argv);
