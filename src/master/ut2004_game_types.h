// The stock game types of UT 2004 and UT 2003, as the masters know them
// (the game class's name), and the conversations that together ask a
// master for all of them: a master answers one game type per connection
// and nothing to a query without one.
#pragma once
#include <QStringList>
#include <memory>
#include <vector>

#include "master/master_conversation.h"
#include "master/ut2004_credentials.h"

namespace master {

QStringList Ut2004StockGameTypes();
QStringList Ut2003StockGameTypes();

// One conversation per game type, in the order given; an empty list gives
// one conversation without a filter.
std::vector<std::unique_ptr<MasterConversation>> Ut2004ListConversations(const Ut2004Credentials& credentials,
                                                                         const QStringList& gameTypes);

}  // namespace master
