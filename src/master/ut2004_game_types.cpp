#include "master/ut2004_game_types.h"

#include "master/internal/ut2004_conversation.h"

namespace master {

QStringList Ut2004StockGameTypes() {
  return {QStringLiteral("xDeathMatch"),      QStringLiteral("xTeamGame"),
          QStringLiteral("xCTFGame"),         QStringLiteral("xBombingRun"),
          QStringLiteral("xDoubleDom"),       QStringLiteral("ONSOnslaughtGame"),
          QStringLiteral("ASGameInfo"),       QStringLiteral("xLastManStandingGame"),
          QStringLiteral("xMutantGame"),      QStringLiteral("Invasion"),
          QStringLiteral("xVehicleCTFGame")};
}

QStringList Ut2003StockGameTypes() {
  return {QStringLiteral("xDeathMatch"), QStringLiteral("xTeamGame"), QStringLiteral("xCTFGame"),
          QStringLiteral("xBombingRun"), QStringLiteral("xDoubleDom")};
}

std::vector<std::unique_ptr<MasterConversation>> Ut2004ListConversations(const Ut2004Credentials& credentials,
                                                                         const QStringList& gameTypes) {
  std::vector<std::unique_ptr<MasterConversation>> conversations;
  if (gameTypes.isEmpty()) {
    conversations.push_back(std::make_unique<Ut2004Conversation>(credentials, QString()));
    return conversations;
  }
  for (const QString& gameType : gameTypes)
    conversations.push_back(std::make_unique<Ut2004Conversation>(credentials, gameType));
  return conversations;
}

}  // namespace master
