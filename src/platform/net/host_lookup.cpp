#include "platform/net/host_lookup.h"

#include <netdb.h>

#include <QMetaObject>
#include <QUrl>
#include <algorithm>
#include <mutex>
#include <thread>

namespace platform {

struct HostLookup::Link {
  std::mutex mutex;
  HostLookup* lookup = nullptr;  // null once the lookup is gone
};

namespace {

// The addresses of `host` in the order HostLookup gives them, looked up on
// the calling thread (it blocks as long as the resolver takes).
std::vector<UdpAddress> ResolveHost(const QString& host, quint16 port) {
  std::vector<UdpAddress> found;
  // An international name goes to the resolver in its ASCII form.
  const QByteArray name = QUrl::toAce(host);
  if (name.isEmpty()) return found;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  hints.ai_flags = AI_ADDRCONFIG;
  addrinfo* list = nullptr;
  if (getaddrinfo(name.constData(), nullptr, &hints, &list) != 0) return found;
  for (const addrinfo* entry = list; entry; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET && entry->ai_family != AF_INET6) continue;
    UdpAddress address = UdpAddress::FromSocketAddress(entry->ai_addr, entry->ai_addrlen);
    address.SetPort(port);
    if (std::find(found.begin(), found.end(), address) == found.end()) found.push_back(address);
  }
  freeaddrinfo(list);
  std::stable_partition(found.begin(), found.end(), [](const UdpAddress& a) { return a.Family() == AF_INET; });
  return found;
}

}  // namespace

HostLookup::HostLookup(QObject* parent) : QObject(parent), link_(std::make_shared<Link>()) {
  link_->lookup = this;
}

HostLookup::~HostLookup() {
  // Once this returns, the resolver's thread can no longer reach this
  // object; an answer it already posted is dropped with the object.
  std::lock_guard<std::mutex> lock(link_->mutex);
  link_->lookup = nullptr;
}

void HostLookup::Start(const QString& host, quint16 port) {
  std::thread([link = link_, host, port] {
    std::vector<UdpAddress> found = ResolveHost(host, port);
    std::lock_guard<std::mutex> lock(link->mutex);
    if (!link->lookup) return;
    HostLookup* lookup = link->lookup;
    QMetaObject::invokeMethod(
        lookup, [lookup, found = std::move(found)] { emit lookup->Found(found); }, Qt::QueuedConnection);
  }).detach();
}

}  // namespace platform
