#include "redis_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "loopback.h"

namespace clan::testing {
namespace {

// True once a PING on `port` gets its PONG.
bool Answers(int port) {
  const int fd = ConnectLoopback(port, std::chrono::milliseconds(200));
  if (fd < 0) return false;
  bool ok = false;
  if (send(fd, "PING\r\n", 6, MSG_NOSIGNAL) == 6) {
    char answer[16] = {};
    ok = recv(fd, answer, sizeof answer - 1, 0) > 0 && std::string(answer).starts_with("+PONG");
  }
  close(fd);
  return ok;
}

}  // namespace

RedisServer::RedisServer() : port_(FreeLoopbackPort()) { Start(); }

RedisServer::~RedisServer() { Stop(); }

std::string RedisServer::Url(int database) const {
  return "redis://127.0.0.1:" + std::to_string(port_) + "/" + std::to_string(database);
}

void RedisServer::Start() {
  const std::string port = std::to_string(port_);
  pid_ = fork();
  if (pid_ == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    execlp("redis-server", "redis-server", "--port", port.c_str(), "--bind", "127.0.0.1",
           "--save", "", "--appendonly", "no", "--daemonize", "no", nullptr);
    _exit(127);
  }
  for (int tries = 0; tries < 100; ++tries) {
    if (Answers(port_)) return;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  Stop();
  throw std::runtime_error("redis-server did not start on port " + port);
}

void RedisServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

RedisServer& RedisServer::Shared() {
  static RedisServer shared;
  return shared;
}

}  // namespace clan::testing
