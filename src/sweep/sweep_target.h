// One server a sweep asks: where its query port is, which protocol it
// speaks, and the caller's own number for it (its index in the caller's
// list), which every answer carries back.
#pragma once
#include "platform/net/udp_socket.h"
#include "query/reply_reader.h"

namespace sweep {

struct SweepTarget {
  platform::UdpAddress address;  // numeric, with the query port
  query::QueryProtocol protocol = query::QueryProtocol::Text;
  int index = 0;
};

}  // namespace sweep
