// A small, thread-safe client of a Redis server: commands go over a pool of
// connections, one per thread that needs one at a time. A connection that
// fails is dropped and the command is tried once more on a fresh one, so a
// Redis that restarted is used again by the next command; while Redis stays
// away, commands fail fast (a new connection is tried at most every 250 ms,
// by one command) and no command waits longer than the time-out.
#pragma once
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct redisContext;

namespace clan {

struct RedisAddress {
  std::string host;
  int port = 6379;
  int database = 0;
};

// "redis://HOST[:PORT][/DB]"; HOST may be an IPv6 address in brackets.
std::optional<RedisAddress> ParseRedisUrl(std::string_view url);

// A reply, reduced to what the roster needs: nothing (nil), a number, a text
// (status or bulk string), or an array of them.
struct RedisValue {
  std::variant<std::monostate, long long, std::string, std::vector<RedisValue>> value;
};

class RedisClient {
 public:
  explicit RedisClient(RedisAddress address,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
  ~RedisClient();
  RedisClient(const RedisClient&) = delete;
  RedisClient& operator=(const RedisClient&) = delete;

  // Runs one command. nullopt when Redis can't be reached or answers with an
  // error (the text of the last error is kept for LastError()).
  std::optional<RedisValue> Command(const std::vector<std::string>& args);
  // Runs the commands in one exchange (all sent, then all replies read), so
  // they cost one wait for Redis instead of one each. nullopt when Redis
  // can't be reached; else a reply for each command, nullopt for an error.
  std::optional<std::vector<std::optional<RedisValue>>> Pipeline(
      const std::vector<std::vector<std::string>>& commands);
  // As Command, but the commands that threads give at the same time go to
  // Redis together in one exchange: while one exchange is under way, the
  // commands given meanwhile wait for the next, which takes them all.
  std::optional<RedisValue> Batched(std::vector<std::string> args);
  std::string LastError();

 private:
  redisContext* Connect();
  redisContext* TakeIdle();
  void Give(redisContext* context);
  void Failed(std::string error);

  const RedisAddress address_;
  const std::chrono::milliseconds timeout_;
  std::mutex mutex_;
  std::vector<redisContext*> idle_;
  bool failing_ = false;  // the last connection attempt failed
  std::chrono::steady_clock::time_point nextConnect_{};
  std::string lastError_;

  struct Waiting;
  std::mutex batchMutex_;
  std::condition_variable batchDone_;
  std::vector<Waiting*> batch_;  // given, not yet sent
  bool sending_ = false;         // a thread is running an exchange
};

}  // namespace clan
