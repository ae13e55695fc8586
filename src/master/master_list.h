// Several masters' lists made one: a server is one address and query port,
// however many masters name it, and remembers every master that did.
//  - Order is stable: masters in the order given, each master's servers in
//    the order it listed them; a server stands where it was first named.
//  - A server listed by several masters takes the game port and the details
//    (name, map, counts) of the first master that gave them.
//  - At most kMaxPortsPerAddress query ports per address: the first ones
//    named are kept, the rest dropped, so that a forged list can't point
//    Quavik at one host's every port.
#pragma once
#include <QString>
#include <vector>

#include "master/server_entry.h"

namespace master {

inline constexpr int kMaxPortsPerAddress = 32;

// One master's list, already filtered (see entry_filter.h).
struct MasterListing {
  QString master;  // "host:port" as the user or the defaults name it
  std::vector<ServerEntry> entries;
};

struct MergedList {
  std::vector<ServerEntry> servers;
  int droppedOverCap = 0;  // entries beyond an address's kMaxPortsPerAddress ports
};

MergedList MergeListings(const std::vector<MasterListing>& listings);

}  // namespace master
