#include "cli/find_player_arguments.h"

namespace {

ParsedFinderArguments Refuse(const QString& why) { return {std::nullopt, why}; }

}  // namespace

ParsedFinderArguments ParseFinderArguments(const QStringList& arguments) {
  FinderCommand command;
  std::optional<QString> player, game, timeout;
  bool modeSeen = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    const auto once = [&](std::optional<QString>& slot) {
      if (slot || !hasValue) return false;
      slot = arguments[++i];
      return true;
    };
    if (a == "--find-player" || a == "--list-servers") {
      if (modeSeen) return Refuse(QStringLiteral("--find-player and --list-servers go alone"));
      modeSeen = true;
      if (a == "--list-servers") {
        command.mode = FinderMode::ListServers;
      } else if (!once(player)) {
        return Refuse(QStringLiteral("--find-player needs a NAME"));
      }
    } else if (a == "--game") {
      if (!once(game)) return Refuse(QStringLiteral("--game needs ut, to, ut2003 or ut2004, once"));
    } else if (a == "--timeout") {
      if (!once(timeout)) return Refuse(QStringLiteral("--timeout needs milliseconds, once"));
    } else if (a == "--master") {
      if (!hasValue) return Refuse(QStringLiteral("--master needs HOST:PORT"));
      const QString text = arguments[++i];
      const std::optional<master::MasterHostPort> address = master::ParseMasterHostPort(text);
      if (!address) return Refuse(QStringLiteral("--master needs HOST:PORT, not \"%1\"").arg(text));
      if (!command.masters.contains(*address)) command.masters.append(*address);
    } else if (a == "--contains") {
      command.contains = true;
    } else if (a == "--json") {
      command.json = true;
    } else if (a == "--refresh") {
      command.refresh = true;
    } else {
      return Refuse(QStringLiteral("unusable argument: %1").arg(a));
    }
  }
  if (!modeSeen) return Refuse(QStringLiteral("--find-player NAME or --list-servers comes first"));
  if (command.mode == FinderMode::FindPlayer) {
    if (player->trimmed().isEmpty()) return Refuse(QStringLiteral("--find-player needs a NAME that is not blank"));
    command.player = *player;
  } else if (command.contains) {
    return Refuse(QStringLiteral("--contains goes with --find-player only"));
  }
  if (!game) return Refuse(QStringLiteral("--game must be ut, to, ut2003 or ut2004"));
  const std::optional<master::Game> parsedGame = master::GameFromName(*game);
  if (!parsedGame) return Refuse(QStringLiteral("--game must be ut, to, ut2003 or ut2004, not \"%1\"").arg(*game));
  command.game = *parsedGame;
  if (timeout) {
    bool ok = false;
    const int ms = timeout->toInt(&ok);
    if (!ok || ms < 1 || ms > 60000) return Refuse(QStringLiteral("--timeout takes milliseconds from 1 to 60000"));
    command.timeoutMs = ms;
  }
  return {command, {}};
}
