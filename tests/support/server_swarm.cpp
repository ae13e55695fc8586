#include "support/server_swarm.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kWakeTag = 0xFFFFFFFF;
constexpr int kHostileDatagrams = 2000;
constexpr size_t kHostileDatagramBytes = 1000;

void RaiseFileLimit(size_t needed) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
  if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed + 256) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
}

// A UDP socket bound to `address` on a port the system picks.
int BoundSocket(in_addr_t address, unsigned short* port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  sockaddr_in bound{};
  bound.sin_family = AF_INET;
  bound.sin_addr.s_addr = address;
  socklen_t length = sizeof bound;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&bound), sizeof bound) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
    const std::string why = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    throw std::runtime_error("server swarm: cannot bind a socket: " + why);
  }
  *port = ntohs(bound.sin_port);
  return fd;
}

std::string HostileDatagram(int part) {
  std::string datagram = "\\hostname\\flood\\player_0\\";
  datagram.append(kHostileDatagramBytes, 'A');
  // Every datagram a reply of its own: no end to wait for.
  return datagram + "\\queryid\\" + std::to_string(part + 1) + ".1";
}

}  // namespace

struct ServerSwarm::Server {
  size_t index = 0;
  SwarmServer described;
  int fd = -1;
  int replyFd = -1;  // where replies leave from: fd, or another port for a stranger
  std::atomic<int> requests{0};
  std::atomic<int> byCommand[3] = {0, 0, 0};
  bool awaiting = false;  // asked and not answered (thread only)
};

struct ServerSwarm::Pending {
  Clock::time_point due;
  size_t server;
  std::vector<std::string> datagrams;
  sockaddr_storage to;
  socklen_t toLength;
};

ServerSwarm::ServerSwarm(std::vector<SwarmServer> servers) {
  RaiseFileLimit(servers.size() * 2 + 16);
  epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
  wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (epoll_ < 0 || wake_ < 0) throw std::runtime_error("server swarm: no epoll");
  epoll_event wakeEvent{};
  wakeEvent.events = EPOLLIN;
  wakeEvent.data.u32 = kWakeTag;
  ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &wakeEvent);
  for (size_t i = 0; i < servers.size(); ++i) {
    auto server = std::make_unique<Server>();
    server->index = i;
    server->described = std::move(servers[i]);
    // 127.1.0.1, 127.1.0.2, ... 127.1.0.254, 127.1.1.1, ...
    const std::uint32_t host =
        (127u << 24) | (1u << 16) | (std::uint32_t(i / 254 % 256) << 8) | std::uint32_t(i % 254 + 1);
    Endpoint endpoint;
    server->fd = server->replyFd = BoundSocket(htonl(host), &endpoint.port);
    if (server->described.behaviour == SwarmBehaviour::Stranger) {
      unsigned short otherPort = 0;
      server->replyFd = BoundSocket(htonl(host), &otherPort);
    }
    in_addr address{htonl(host)};
    char text[INET_ADDRSTRLEN] = {};
    endpoint.address = ::inet_ntop(AF_INET, &address, text, sizeof text);
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u32 = std::uint32_t(i);
    ::epoll_ctl(epoll_, EPOLL_CTL_ADD, server->fd, &event);
    endpoints_.push_back(endpoint);
    servers_.push_back(std::move(server));
  }
  thread_ = std::thread([this] { Serve(); });
}

ServerSwarm::~ServerSwarm() {
  const std::uint64_t one = 1;
  if (::write(wake_, &one, sizeof one) < 0) {
  }
  thread_.join();
  for (const auto& server : servers_) {
    if (server->replyFd != server->fd) ::close(server->replyFd);
    ::close(server->fd);
  }
  ::close(wake_);
  ::close(epoll_);
}

int ServerSwarm::Requests(size_t i) const { return servers_.at(i)->requests; }

int ServerSwarm::BinaryRequests(size_t i, char command) const {
  if (command < 0 || command > 2) return 0;
  return servers_.at(i)->byCommand[int(command)];
}

int ServerSwarm::TotalRequests() const {
  int total = 0;
  for (const auto& server : servers_) total += server->requests;
  return total;
}

void ServerSwarm::Serve() {
  std::vector<epoll_event> events(256);
  std::vector<char> buffer(65536);
  for (;;) {
    int waitMs = -1;
    if (!pending_.empty()) {
      const auto next = std::min_element(pending_.begin(), pending_.end(),
                                         [](const Pending& a, const Pending& b) { return a.due < b.due; });
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(next->due - Clock::now()).count();
      waitMs = int(std::max<long long>(0, left + 1));
    }
    const int ready = ::epoll_wait(epoll_, events.data(), int(events.size()), waitMs);
    for (int e = 0; e < ready; ++e) {
      if (events[size_t(e)].data.u32 == kWakeTag) return;
      Server& server = *servers_[events[size_t(e)].data.u32];
      for (;;) {
        sockaddr_storage from{};
        socklen_t fromLength = sizeof from;
        const ssize_t got = ::recvfrom(server.fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0) break;
        Answer(server, std::string(buffer.data(), size_t(got)), &from, fromLength);
      }
    }
    const Clock::time_point now = Clock::now();
    for (size_t p = 0; p < pending_.size();) {
      if (pending_[p].due > now) {
        ++p;
        continue;
      }
      Pending due = std::move(pending_[p]);
      pending_.erase(pending_.begin() + std::ptrdiff_t(p));
      Server& server = *servers_[due.server];
      for (const std::string& datagram : due.datagrams)
        ::sendto(server.replyFd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&due.to),
                 due.toLength);
      if (server.awaiting) {
        server.awaiting = false;
        --outstanding_;
      }
    }
  }
}

void ServerSwarm::Answer(Server& server, const std::string& request, const void* to, unsigned toLength) {
  const int count = ++server.requests;
  if (request.size() == 5 && request[4] >= 0 && request[4] <= 2) ++server.byCommand[int(request[4])];
  const SwarmServer& described = server.described;
  if (described.behaviour == SwarmBehaviour::Silent) return;
  if (!server.awaiting) {
    server.awaiting = true;
    peakOutstanding_ = std::max(peakOutstanding_.load(), ++outstanding_);
  }
  if (described.behaviour == SwarmBehaviour::OnlyOnRetry && count == 1) return;
  if (described.behaviour == SwarmBehaviour::LosesPlayers && request.size() == 5 && request[4] == 2 &&
      server.byCommand[2] == 1)
    return;

  std::vector<std::string> datagrams;
  if (described.behaviour == SwarmBehaviour::Hostile) {
    for (int i = 0; i < kHostileDatagrams; ++i) datagrams.push_back(HostileDatagram(i));
  } else if (!described.binary) {
    if (request.rfind("\\status\\", 0) == 0)
      datagrams = TextStatusReply(described.server, described.behaviour == SwarmBehaviour::OutOfOrder ? 3 : 1, count);
  } else if (request.size() == 5 && request[4] == 2 && described.behaviour == SwarmBehaviour::OutOfOrder) {
    datagrams = BinaryPlayersReply(described.server, 2);
  } else if (request.size() == 5) {
    datagrams = AnswerAs(described.server, request);
  }
  if (described.behaviour == SwarmBehaviour::OutOfOrder) std::reverse(datagrams.begin(), datagrams.end());

  if (described.behaviour == SwarmBehaviour::Slow && described.delayMs > 0) {
    Pending reply{Clock::now() + std::chrono::milliseconds(described.delayMs),
                  server.index,
                  std::move(datagrams),
                  {},
                  socklen_t(toLength)};
    std::memcpy(&reply.to, to, std::min<size_t>(toLength, sizeof reply.to));
    pending_.push_back(std::move(reply));
    return;
  }
  for (const std::string& datagram : datagrams)
    ::sendto(server.replyFd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(to), toLength);
  server.awaiting = false;
  --outstanding_;
}

std::vector<SwarmServer> RandomSwarm(int count, int silentPercent, bool binary, unsigned seed,
                                     const std::vector<std::pair<QString, int>>& extraPlayers) {
  std::mt19937 random(seed);
  std::vector<SwarmServer> servers(size_t(std::max(0, count)));
  const char* maps[] = {"DM-Deck16][", "CTF-Face", "DM-Morpheus", "CTF-Coret", "AS-Frigate"};
  for (size_t i = 0; i < servers.size(); ++i) {
    SwarmServer& s = servers[i];
    s.binary = binary;
    s.server.name = QString("Swarm Server %1").arg(i);
    s.server.map = maps[random() % 5];
    s.server.gameType = binary ? "xDeathMatch" : "DeathMatchPlus";
    s.server.maxPlayers = 16;
    s.server.rules = {{"timelimit", "20"}, {"fraglimit", "30"}};
    // About a third of the servers are empty, the others have up to eight players.
    const int players = random() % 3 == 0 ? 0 : int(random() % 8) + 1;
    for (int p = 0; p < players; ++p)
      s.server.players.push_back({QString("Player%1x%2").arg(i).arg(p), int(random() % 40), int(random() % 150), 255});
  }
  std::vector<size_t> order(servers.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), random);
  const size_t silent = servers.size() * size_t(std::clamp(silentPercent, 0, 100)) / 100;
  for (size_t i = 0; i < silent; ++i) servers[order[i]].behaviour = SwarmBehaviour::Silent;
  for (const auto& [name, index] : extraPlayers) {
    if (index >= 0 && size_t(index) < servers.size())
      servers[size_t(index)].server.players.push_back({name, 10, 50, 255});
  }
  return servers;
}

}  // namespace testing_support
