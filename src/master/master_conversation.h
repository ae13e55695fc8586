// One connection's exchange with a master server, as a state machine that
// sees only bytes: the client that owns the TCP connection hands it what
// arrives (in any segmentation) and sends what it has to say. A protocol
// that needs several connections for one list (the UT 2004 master answers
// one game type per connection) is several conversations.
#pragma once
#include <QByteArray>
#include <QString>
#include <string_view>
#include <vector>

#include "master/server_entry.h"

namespace master {

class MasterConversation {
 public:
  enum class Progress {
    Waiting,   // more is to come
    Complete,  // the list is whole: the client closes the connection
    Failed,    // unusable: Error() says why
  };

  virtual ~MasterConversation() = default;
  // Bytes to send now, taken out (empty when there is nothing to say). Asked
  // once the connection is up and after every Take().
  virtual QByteArray TakeOutgoing() = 0;
  virtual Progress Take(std::string_view bytes) = 0;
  // The master closed the connection. A list that ended without its end
  // marker still counts (Complete, with Warning() set); Failed otherwise.
  virtual Progress Closed() = 0;
  // The servers read so far, taken out; in the order listed.
  virtual std::vector<ServerEntry> TakeEntries() = 0;
  virtual QString Error() const = 0;
  virtual QString Warning() const = 0;
};

}  // namespace master
