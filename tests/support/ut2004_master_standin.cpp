#include "support/ut2004_master_standin.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <chrono>
#include <cstdint>
#include <random>

namespace testing_support {

namespace {

constexpr int kReadTimeoutMs = 5000;

std::string Md5Hex(const std::string& text) {
  return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Md5).toHex().toStdString();
}

void PutUInt32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

// Short strings only: a one-byte length with the NUL counted.
void PutString(std::string& out, const std::string& text) {
  out.push_back(char(text.size() + 1));
  out += text;
  out.push_back('\0');
}

std::string Framed(const std::string& payload) {
  std::string out;
  PutUInt32(out, std::uint32_t(payload.size()));
  return out + payload;
}

// Reads the strings and bytes of a client's message; a read past the end
// marks it bad.
struct FieldReader {
  std::string bytes;
  size_t pos = 0;
  bool bad = false;

  std::uint8_t Byte() {
    if (pos >= bytes.size()) {
      bad = true;
      return 0;
    }
    return std::uint8_t(bytes[pos++]);
  }
  std::string String() {
    std::uint8_t first = Byte();
    std::uint32_t length = first & 0x3F;
    if (first & 0x40) {
      int shift = 6;
      std::uint8_t next;
      do {
        next = Byte();
        length |= std::uint32_t(next & 0x7F) << shift;
        shift += 7;
      } while ((next & 0x80) && shift < 32 && !bad);
    }
    if (bad || (first & 0x80) || length > bytes.size() - pos) {
      bad = true;
      return {};
    }
    std::string text = bytes.substr(pos, length);
    pos += length;
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
};

bool WaitReadable(int fd, int timeoutMs, const std::atomic<bool>& stop) {
  for (int waited = 0; waited < timeoutMs && !stop; waited += 100) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) > 0) return true;
  }
  return false;
}

bool ReadExactly(int fd, std::string& out, size_t count, const std::atomic<bool>& stop) {
  out.clear();
  while (out.size() < count) {
    if (!WaitReadable(fd, kReadTimeoutMs, stop)) return false;
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, std::min(sizeof buffer, count - out.size()), 0);
    if (n <= 0) return false;
    out.append(buffer, size_t(n));
  }
  return true;
}

bool ReadMessage(int fd, std::string& payload, const std::atomic<bool>& stop) {
  std::string prefix;
  if (!ReadExactly(fd, prefix, 4, stop)) return false;
  std::uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length |= std::uint32_t(std::uint8_t(prefix[size_t(i)])) << (8 * i);
  if (length > 65536) return false;
  return ReadExactly(fd, payload, length, stop);
}

bool SendAll(int fd, const std::string& bytes, bool oneByteSegments) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const size_t chunk = oneByteSegments ? 1 : bytes.size() - sent;
    const ssize_t n = ::send(fd, bytes.data() + sent, chunk, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += size_t(n);
    if (oneByteSegments) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// Holds a stalled connection open until the client gives up or the test ends.
void HoldUntilClosed(int fd, const std::atomic<bool>& stop) {
  while (!stop) {
    if (!WaitReadable(fd, 100, stop)) continue;
    char buffer[256];
    if (::recv(fd, buffer, sizeof buffer, 0) <= 0) return;
  }
}

std::string ServerRecord(const Ut2004MasterStandIn::Server& server) {
  std::string payload;
  in_addr address{};
  ::inet_pton(AF_INET, server.address.c_str(), &address);
  payload.append(reinterpret_cast<const char*>(&address.s_addr), 4);  // network order: a.b.c.d
  payload.push_back(char(server.gamePort & 0xFF));
  payload.push_back(char(server.gamePort >> 8));
  payload.push_back(char(server.queryPort & 0xFF));
  payload.push_back(char(server.queryPort >> 8));
  PutString(payload, Ut2004MasterStandIn::ListedName(server.name));
  PutString(payload, Ut2004MasterStandIn::ListedMap(server.map));
  PutString(payload, server.gameType);
  payload.push_back(char(server.players));
  payload.push_back(char(server.maxPlayers));
  PutUInt32(payload, 0);  // flags
  return Framed(payload);
}

}  // namespace

std::string Ut2004MasterStandIn::ListedName(const std::string& name) {
  std::string listed;
  for (size_t i = 0; i < name.size();) {
    if (name[i] == '\x1b') {
      listed += "zzz ";
      i += 4;
    } else {
      listed.push_back(name[i++]);
    }
  }
  return listed.substr(0, 25);
}

std::string Ut2004MasterStandIn::ListedMap(const std::string& map) { return map.substr(0, 16); }

Ut2004MasterStandIn::Ut2004MasterStandIn(Options options) : options_(std::move(options)) {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(fd_, 8);
  socklen_t length = sizeof address;
  ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

Ut2004MasterStandIn::~Ut2004MasterStandIn() {
  stop_ = true;
  thread_.join();
  ::close(fd_);
}

std::vector<std::string> Ut2004MasterStandIn::Queries() const {
  std::lock_guard lock(mutex_);
  return queries_;
}

std::vector<std::string> Ut2004MasterStandIn::Logins() const {
  std::lock_guard lock(mutex_);
  return logins_;
}

void Ut2004MasterStandIn::Serve() {
  while (!stop_) {
    if (!WaitReadable(fd_, 100, stop_)) continue;
    const int client = ::accept(fd_, nullptr, nullptr);
    if (client < 0) continue;
    ++connections_;
    const int one = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    Converse(client);
    ::close(client);
  }
}

void Ut2004MasterStandIn::Converse(int client) {
  const bool split = options_.mode == Mode::SplitBytes;
  std::string challenge;
  PutString(challenge, options_.challenge);
  if (!SendAll(client, Framed(challenge), split)) return;
  if (options_.mode == Mode::StallAfterChallenge) return HoldUntilClosed(client, stop_);

  std::string login;
  if (!ReadMessage(client, login, stop_)) return;
  {
    std::lock_guard lock(mutex_);
    logins_.push_back(login);
  }
  FieldReader fields{login};
  const std::string keyHash = fields.String();
  const std::string response = fields.String();
  const std::string clientName = fields.String();
  const bool matches = !options_.expectedKey ||
                       (keyHash == Md5Hex(*options_.expectedKey) &&
                        response == Md5Hex(*options_.expectedKey + options_.challenge));
  if (fields.bad || clientName.empty() || !matches) {
    ++refusals_;
    std::string denied;
    PutString(denied, "DENIED");
    SendAll(client, Framed(denied), split);
    return;
  }
  std::string approved;
  PutString(approved, "APPROVED");
  PutUInt32(approved, 3);
  if (!SendAll(client, Framed(approved), split)) return;

  std::string verification;
  if (!ReadMessage(client, verification, stop_)) return;
  std::string verified;
  PutString(verified, "VERIFIED");
  if (!SendAll(client, Framed(verified), split)) return;

  std::string query;
  if (!ReadMessage(client, query, stop_)) return;
  FieldReader request{query};
  request.Byte();  // the kind of query: the server list
  const int filterCount = request.Byte();
  std::string gameType;
  for (int i = 0; i < filterCount && !request.bad; ++i) {
    const std::string key = request.String();
    const std::string value = request.String();
    const int op = request.Byte();
    if (key == "gametype" && op == 0) gameType = value;
  }
  {
    std::lock_guard lock(mutex_);
    queries_.push_back(gameType);
  }

  switch (options_.mode) {
    case Mode::StallBeforeList:
      return HoldUntilClosed(client, stop_);
    case Mode::GarbageAfterVerified: {
      std::mt19937 random(7);
      std::string garbage;
      for (int i = 0; i < 64; ++i) garbage.push_back(char(random()));
      garbage[3] = '\x7f';  // whatever else it holds, its first length is absurd
      SendAll(client, garbage, false);
      return;
    }
    case Mode::AbsurdLength: {
      std::string prefix;
      PutUInt32(prefix, 1u << 30);
      SendAll(client, prefix + "xxxx", false);
      return;
    }
    default:
      break;
  }

  std::vector<const Server*> listed;
  if (!gameType.empty()) {
    for (const Server& server : options_.servers)
      if (server.gameType == gameType) listed.push_back(&server);
  }
  std::string count;
  PutUInt32(count, std::uint32_t(listed.size()));
  count.push_back('\x01');
  if (!SendAll(client, Framed(count), split)) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(options_.countPauseMs));
  const size_t sending = options_.mode == Mode::CloseMidList ? listed.size() / 2 : listed.size();
  std::string records;
  for (size_t i = 0; i < sending; ++i) records += ServerRecord(*listed[i]);
  SendAll(client, records, split);
}

}  // namespace testing_support
