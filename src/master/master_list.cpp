#include "master/master_list.h"

#include <QHash>
#include <utility>

namespace master {

namespace {

void FillGaps(ServerEntry& kept, const ServerEntry& other) {
  if (kept.gamePort == 0) kept.gamePort = other.gamePort;
  if (kept.name.isEmpty()) kept.name = other.name;
  if (kept.map.isEmpty()) kept.map = other.map;
  if (kept.gameType.isEmpty()) kept.gameType = other.gameType;
  if (kept.players < 0) kept.players = other.players;
  if (kept.maxPlayers < 0) kept.maxPlayers = other.maxPlayers;
}

}  // namespace

MergedList MergeListings(const std::vector<MasterListing>& listings) {
  MergedList merged;
  QHash<std::pair<QString, quint16>, size_t> indexOf;
  QHash<QString, int> portsOf;
  for (const MasterListing& listing : listings) {
    for (const ServerEntry& entry : listing.entries) {
      const std::pair<QString, quint16> key{entry.address, entry.queryPort};
      const auto found = indexOf.constFind(key);
      if (found != indexOf.constEnd()) {
        ServerEntry& kept = merged.servers[*found];
        if (!kept.masters.contains(listing.master)) kept.masters.append(listing.master);
        FillGaps(kept, entry);
        continue;
      }
      int& ports = portsOf[entry.address];
      if (ports >= kMaxPortsPerAddress) {
        ++merged.droppedOverCap;
        continue;
      }
      ++ports;
      ServerEntry server = entry;
      server.masters = QStringList{listing.master};
      indexOf.insert(key, merged.servers.size());
      merged.servers.push_back(std::move(server));
    }
  }
  return merged;
}

}  // namespace master
