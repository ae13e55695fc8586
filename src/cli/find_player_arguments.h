// The arguments of the public-server modes:
//
//   quavik --find-player NAME --game ut|to|ut2003|ut2004 [--master HOST:PORT]...
//          [--contains] [--json] [--timeout MS] [--refresh]
//   quavik --list-servers --game ut|to|ut2003|ut2004 [--master HOST:PORT]...
//          [--json] [--timeout MS] [--refresh]
//
// --master (repeatable) replaces the masters of quavik.ini and the built-in
// ones; --contains matches NAME anywhere in a player's name instead of the
// whole name; --timeout is how long each server's answer is waited for;
// --refresh asks the masters even when their lists are younger than 15
// minutes. Every argument that can't be used is an error that says why.
#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "master/listed_game.h"
#include "master/master_defaults.h"

enum class FinderMode { FindPlayer, ListServers };

struct FinderCommand {
  FinderMode mode = FinderMode::FindPlayer;
  QString player;  // FindPlayer: the name looked for
  master::Game game = master::Game::UT;
  QList<master::MasterHostPort> masters;  // from --master, in order, each once
  bool contains = false;
  bool json = false;
  bool refresh = false;
  int timeoutMs = 1500;
};

struct ParsedFinderArguments {
  std::optional<FinderCommand> command;
  QString error;  // why the arguments can't be used, when there is no command
};

// `arguments` without the program name, "--find-player" or "--list-servers" first.
ParsedFinderArguments ParseFinderArguments(const QStringList& arguments);
