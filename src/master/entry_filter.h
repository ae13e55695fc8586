// Which listed servers Quavik is willing to ask. A master is a stranger: its
// list may name addresses no public server can have, or another network's
// hosts. Every entry is judged on its own, by its numeric IPv4 address and
// query port, against the address of the master that listed it.
//  - Never asked: port 0, 0.0.0.0/8, multicast (224/4), the reserved block
//    240/4 and the broadcast address, and anything that is no numeric IPv4
//    address.
//  - Loopback (127/8) and private addresses (10/8, 172.16/12, 192.168/16,
//    100.64/10 shared, 169.254/16 link-local) only when the master itself is
//    on such an address: a master on a LAN or on this host.
#pragma once
#include <QString>
#include <optional>
#include <vector>

#include "master/server_entry.h"

namespace master {

enum class EntryVerdict {
  Keep,
  NotAnAddress,     // no numeric IPv4 address
  PortZero,
  ThisNetwork,      // 0.0.0.0/8
  Multicast,        // 224.0.0.0/4
  Reserved,         // 240.0.0.0/4 except the broadcast address
  Broadcast,        // 255.255.255.255
  Loopback,         // 127.0.0.0/8 from a master elsewhere
  Private,          // private, shared or link-local from a master elsewhere
};

// A numeric IPv4 address in dotted decimal, as a host-order number; nullopt
// for anything else (names, IPv6, octal or short forms).
std::optional<quint32> ParseIpv4(const QString& text);

// True when a master at `masterAddress` (numeric IPv4 or IPv6) is on this
// host or a local network, so that its list may name such addresses too.
bool IsLocalMasterAddress(const QString& masterAddress);

EntryVerdict JudgeEntry(const ServerEntry& entry, bool masterIsLocal);

// The entries worth asking, in their order; `dropped` counts the others.
std::vector<ServerEntry> FilterEntries(std::vector<ServerEntry> entries, const QString& masterAddress,
                                       int* dropped = nullptr);

}  // namespace master
