#include "master/entry_filter.h"

#include <arpa/inet.h>

#include <QByteArray>

namespace master {

namespace {

bool InBlock(quint32 address, quint32 block, int prefixLength) {
  const quint32 mask = prefixLength == 0 ? 0 : ~quint32(0) << (32 - prefixLength);
  return (address & mask) == block;
}

bool IsLoopback(quint32 a) { return InBlock(a, 0x7F000000, 8); }

bool IsPrivate(quint32 a) {
  return InBlock(a, 0x0A000000, 8) || InBlock(a, 0xAC100000, 12) || InBlock(a, 0xC0A80000, 16) ||
         InBlock(a, 0x64400000, 10) || InBlock(a, 0xA9FE0000, 16);
}

}  // namespace

std::optional<quint32> ParseIpv4(const QString& text) {
  // inet_pton takes exactly four decimal parts without leading zeros.
  const QByteArray bytes = text.toLatin1();
  if (bytes.size() != text.size() || bytes.isEmpty()) return std::nullopt;
  in_addr address{};
  if (::inet_pton(AF_INET, bytes.constData(), &address) != 1) return std::nullopt;
  return ntohl(address.s_addr);
}

bool IsLocalMasterAddress(const QString& masterAddress) {
  if (const std::optional<quint32> v4 = ParseIpv4(masterAddress)) return IsLoopback(*v4) || IsPrivate(*v4);
  const QByteArray bytes = masterAddress.toLatin1();
  in6_addr address{};
  if (::inet_pton(AF_INET6, bytes.constData(), &address) != 1) return false;
  const unsigned char* b = address.s6_addr;
  if (IN6_IS_ADDR_LOOPBACK(&address)) return true;
  if ((b[0] & 0xFE) == 0xFC) return true;                   // unique local fc00::/7
  if (b[0] == 0xFE && (b[1] & 0xC0) == 0x80) return true;   // link-local fe80::/10
  if (IN6_IS_ADDR_V4MAPPED(&address)) {
    const quint32 v4 = quint32(b[12]) << 24 | quint32(b[13]) << 16 | quint32(b[14]) << 8 | b[15];
    return IsLoopback(v4) || IsPrivate(v4);
  }
  return false;
}

EntryVerdict JudgeEntry(const ServerEntry& entry, bool masterIsLocal) {
  const std::optional<quint32> parsed = ParseIpv4(entry.address);
  if (!parsed) return EntryVerdict::NotAnAddress;
  const quint32 a = *parsed;
  if (entry.queryPort == 0) return EntryVerdict::PortZero;
  if (InBlock(a, 0x00000000, 8)) return EntryVerdict::ThisNetwork;
  if (InBlock(a, 0xE0000000, 4)) return EntryVerdict::Multicast;
  if (a == 0xFFFFFFFF) return EntryVerdict::Broadcast;
  if (InBlock(a, 0xF0000000, 4)) return EntryVerdict::Reserved;
  if (!masterIsLocal && IsLoopback(a)) return EntryVerdict::Loopback;
  if (!masterIsLocal && IsPrivate(a)) return EntryVerdict::Private;
  return EntryVerdict::Keep;
}

std::vector<ServerEntry> FilterEntries(std::vector<ServerEntry> entries, const QString& masterAddress,
                                       int* dropped) {
  const bool local = IsLocalMasterAddress(masterAddress);
  std::vector<ServerEntry> kept;
  kept.reserve(entries.size());
  for (ServerEntry& entry : entries) {
    if (JudgeEntry(entry, local) == EntryVerdict::Keep) kept.push_back(std::move(entry));
  }
  if (dropped) *dropped = int(entries.size() - kept.size());
  return kept;
}

}  // namespace master
