#include "support/gamespy_master_standin.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <stdexcept>

namespace testing_support {

namespace {

// The value after "\key\" at or after `from`, up to the next backslash.
std::string ValueOf(const std::string& text, const std::string& key, size_t from = 0) {
  const std::string marker = "\\" + key + "\\";
  const size_t at = text.find(marker, from);
  if (at == std::string::npos) return {};
  const size_t start = at + marker.size();
  const size_t end = text.find('\\', start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

GamespyMasterStandin::GamespyMasterStandin(GamespyMasterBehaviour behaviour) : behaviour_(std::move(behaviour)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int reuse = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("GameSpy master stand-in: no port");
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
}

GamespyMasterStandin::~GamespyMasterStandin() {
  stop_ = true;
  acceptor_.join();
  for (std::thread& server : servers_) server.join();
  ::close(listener_);
}

std::vector<std::string> GamespyMasterStandin::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::string GamespyMasterStandin::ListBytes(const std::vector<std::string>& entries, bool final) {
  std::string bytes;
  for (const std::string& entry : entries) bytes += "\\ip\\" + entry;
  if (final) bytes += "\\final\\";
  return bytes;
}

void GamespyMasterStandin::Accept() {
  while (!stop_) {
    pollfd ready{listener_, POLLIN, 0};
    if (::poll(&ready, 1, 20) <= 0) continue;
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    size_t slot = 0;
    {
      std::lock_guard lock(mutex_);
      slot = requests_.size();
      requests_.emplace_back();
    }
    ++connections_;
    servers_.emplace_back([this, fd, slot] {
      Serve(fd, slot);
      ::close(fd);
    });
  }
}

void GamespyMasterStandin::Serve(int fd, size_t slot) {
  const int noDelay = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  if (behaviour_.stall == GamespyMasterBehaviour::Stall::Silent) return Linger(fd);
  const unsigned seed = behaviour_.seed + unsigned(slot);
  std::string challenge = "\\basic\\\\secure\\" + behaviour_.challenge;
  if (behaviour_.challengeFinal) challenge += "\\final\\";
  if (!Send(fd, challenge, seed)) return;

  // The client's answer and list request, until "\list\...\final\".
  std::string request;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    const size_t list = request.find("\\list\\");
    if (list != std::string::npos && request.find("\\final\\", list) != std::string::npos) break;
    if (stop_ || std::chrono::steady_clock::now() > deadline) return;
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 20) <= 0) continue;
    char buffer[4096];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, size_t(got));
    std::lock_guard lock(mutex_);
    requests_[slot] = request;
  }
  const size_t list = request.find("\\list\\");
  if (list == std::string::npos) return;
  const std::string game = ValueOf(request, "gamename", list);
  if (behaviour_.checkValidate) {
    const auto expected = behaviour_.validates.find(game);
    if (expected == behaviour_.validates.end() || ValueOf(request, "validate") != expected->second) return;
  }
  if (behaviour_.stall == GamespyMasterBehaviour::Stall::AfterChallenge) return Linger(fd);

  std::string reply = behaviour_.reply;
  if (reply.empty()) {
    const auto entries = behaviour_.lists.find(game);
    if (entries == behaviour_.lists.end()) return;  // a game it does not list: closed without a list
    reply = ListBytes(entries->second, behaviour_.listFinal);
  }
  if (behaviour_.stall == GamespyMasterBehaviour::Stall::MidList) {
    Send(fd, reply.substr(0, reply.size() / 2), seed);
    return Linger(fd);
  }
  Send(fd, reply, seed);
}

bool GamespyMasterStandin::Send(int fd, const std::string& bytes, unsigned seed) {
  std::mt19937 random(seed);
  size_t sent = 0;
  while (sent < bytes.size() && !stop_) {
    size_t piece = bytes.size() - sent;
    if (behaviour_.cuts == GamespyMasterBehaviour::Cuts::ByteByByte) piece = 1;
    if (behaviour_.cuts == GamespyMasterBehaviour::Cuts::Random) {
      piece = std::min(piece, std::uniform_int_distribution<size_t>(1, 24)(random));
    }
    const ssize_t done = ::send(fd, bytes.data() + sent, piece, MSG_NOSIGNAL);
    if (done <= 0) return false;
    sent += size_t(done);
    // A pause between pieces, so that they arrive as pieces.
    if (behaviour_.cuts != GamespyMasterBehaviour::Cuts::Whole) std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  return sent == bytes.size();
}

void GamespyMasterStandin::Linger(int fd) {
  while (!stop_) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 20) <= 0) continue;
    char buffer[4096];
    if (::recv(fd, buffer, sizeof buffer, 0) <= 0) return;
  }
}

}  // namespace testing_support
