#include "redis_client.h"

#include <hiredis/hiredis.h>

#include <charconv>

namespace clan {
namespace {

constexpr std::chrono::milliseconds kReconnectPause{250};

timeval ToTimeval(std::chrono::milliseconds span) {
  return {static_cast<time_t>(span.count() / 1000),
          static_cast<suseconds_t>(span.count() % 1000 * 1000)};
}

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

RedisValue Convert(const redisReply* reply) {
  switch (reply->type) {
    case REDIS_REPLY_INTEGER: return {reply->integer};
    case REDIS_REPLY_STRING:
    case REDIS_REPLY_STATUS: return {std::string(reply->str, reply->len)};
    case REDIS_REPLY_ARRAY: {
      std::vector<RedisValue> items;
      items.reserve(reply->elements);
      for (size_t i = 0; i < reply->elements; ++i) items.push_back(Convert(reply->element[i]));
      return {std::move(items)};
    }
    default: return {};
  }
}

}  // namespace

std::optional<RedisAddress> ParseRedisUrl(std::string_view url) {
  constexpr std::string_view kScheme = "redis://";
  if (!url.starts_with(kScheme)) return std::nullopt;
  url.remove_prefix(kScheme.size());
  RedisAddress out;
  if (const size_t slash = url.find('/'); slash != std::string_view::npos) {
    const auto database = Number(url.substr(slash + 1));
    if (!database) return std::nullopt;
    out.database = *database;
    url = url.substr(0, slash);
  }
  std::string_view port;
  if (url.starts_with('[')) {
    const size_t close = url.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    out.host = std::string(url.substr(1, close - 1));
    const std::string_view rest = url.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':')) return std::nullopt;
    if (!rest.empty()) port = rest.substr(1);
  } else {
    const size_t colon = url.find(':');
    out.host = std::string(url.substr(0, colon));
    if (colon != std::string_view::npos) port = url.substr(colon + 1);
  }
  if (out.host.empty()) return std::nullopt;
  if (!port.empty()) {
    const auto number = Number(port);
    if (!number || *number == 0 || *number > 65535) return std::nullopt;
    out.port = *number;
  }
  return out;
}

RedisClient::RedisClient(RedisAddress address, std::chrono::milliseconds timeout)
    : address_(std::move(address)), timeout_(timeout) {}

RedisClient::~RedisClient() {
  for (redisContext* context : idle_) redisFree(context);
}

std::string RedisClient::LastError() {
  std::lock_guard lock(mutex_);
  return lastError_;
}

void RedisClient::Failed(std::string error) {
  std::lock_guard lock(mutex_);
  lastError_ = std::move(error);
  // Redis may be away: the next connection attempt is made by one command.
  if (!failing_) nextConnect_ = std::chrono::steady_clock::now();
  failing_ = true;
  // The other idle connections most likely went down together with this one.
  for (redisContext* context : idle_) redisFree(context);
  idle_.clear();
}

redisContext* RedisClient::TakeIdle() {
  std::lock_guard lock(mutex_);
  if (idle_.empty()) return nullptr;
  redisContext* context = idle_.back();
  idle_.pop_back();
  return context;
}

void RedisClient::Give(redisContext* context) {
  std::lock_guard lock(mutex_);
  idle_.push_back(context);
}

redisContext* RedisClient::Connect() {
  {
    // While Redis is away, one attempt per pause; the other commands fail at
    // once instead of each waiting for a connection time-out of its own.
    std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (failing_) {
      if (now < nextConnect_) return nullptr;
      nextConnect_ = now + kReconnectPause;
    }
  }
  redisContext* context =
      redisConnectWithTimeout(address_.host.c_str(), address_.port, ToTimeval(timeout_));
  std::string error;
  if (!context || context->err) {
    error = context ? context->errstr : "out of memory";
  } else {
    redisSetTimeout(context, ToTimeval(timeout_));
    if (address_.database != 0) {
      auto* reply = static_cast<redisReply*>(
          redisCommand(context, "SELECT %d", address_.database));
      if (!reply || reply->type == REDIS_REPLY_ERROR) {
        error = reply ? std::string(reply->str, reply->len) : context->errstr;
      }
      if (reply) freeReplyObject(reply);
    }
  }
  std::lock_guard lock(mutex_);
  if (error.empty()) {
    failing_ = false;
    return context;
  }
  if (context) redisFree(context);
  lastError_ = error;
  failing_ = true;
  nextConnect_ = std::chrono::steady_clock::now() + kReconnectPause;
  return nullptr;
}

std::optional<RedisValue> RedisClient::Command(const std::vector<std::string>& args) {
  std::vector<const char*> argv;
  std::vector<size_t> lengths;
  for (const std::string& arg : args) {
    argv.push_back(arg.data());
    lengths.push_back(arg.size());
  }
  // A pooled connection may have died with a Redis restart: then once more
  // on a fresh connection.
  for (int attempt = 0; attempt < 2; ++attempt) {
    redisContext* context = TakeIdle();
    const bool fresh = !context;
    if (fresh && !(context = Connect())) return std::nullopt;
    auto* reply = static_cast<redisReply*>(
        redisCommandArgv(context, static_cast<int>(argv.size()), argv.data(), lengths.data()));
    if (!reply) {
      Failed(context->errstr);
      redisFree(context);
      if (fresh) return std::nullopt;
      continue;
    }
    Give(context);
    std::optional<RedisValue> out;
    if (reply->type == REDIS_REPLY_ERROR) {
      std::lock_guard lock(mutex_);
      lastError_ = std::string(reply->str, reply->len);
    } else {
      out = Convert(reply);
    }
    freeReplyObject(reply);
    return out;
  }
  return std::nullopt;
}

std::optional<std::vector<std::optional<RedisValue>>> RedisClient::Pipeline(
    const std::vector<std::vector<std::string>>& commands) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    redisContext* context = TakeIdle();
    const bool fresh = !context;
    if (fresh && !(context = Connect())) return std::nullopt;
    bool sent = true;
    for (const auto& args : commands) {
      std::vector<const char*> argv;
      std::vector<size_t> lengths;
      for (const std::string& arg : args) {
        argv.push_back(arg.data());
        lengths.push_back(arg.size());
      }
      if (redisAppendCommandArgv(context, static_cast<int>(argv.size()), argv.data(),
                                 lengths.data()) != REDIS_OK) {
        sent = false;
        break;
      }
    }
    std::vector<std::optional<RedisValue>> out;
    std::string error;
    for (size_t i = 0; sent && i < commands.size(); ++i) {
      void* raw = nullptr;
      if (redisGetReply(context, &raw) != REDIS_OK || !raw) {
        sent = false;
        break;
      }
      auto* reply = static_cast<redisReply*>(raw);
      if (reply->type == REDIS_REPLY_ERROR) {
        error = std::string(reply->str, reply->len);
        out.emplace_back();
      } else {
        out.push_back(Convert(reply));
      }
      freeReplyObject(reply);
    }
    if (!sent) {
      // The connection is in an unknown state: it goes, and once more on a
      // fresh one.
      Failed(context->errstr);
      redisFree(context);
      if (fresh) return std::nullopt;
      continue;
    }
    Give(context);
    if (!error.empty()) {
      std::lock_guard lock(mutex_);
      lastError_ = error;
    }
    return out;
  }
  return std::nullopt;
}

struct RedisClient::Waiting {
  std::vector<std::string> args;
  std::optional<RedisValue> reply;
  bool done = false;
};

std::optional<RedisValue> RedisClient::Batched(std::vector<std::string> args) {
  Waiting mine;
  mine.args = std::move(args);
  std::unique_lock lock(batchMutex_);
  batch_.push_back(&mine);
  // The thread that finds no exchange under way runs them, taking all that
  // were given meanwhile each time round, until its own is done.
  batchDone_.wait(lock, [&] { return mine.done || !sending_; });
  while (!mine.done) {
    sending_ = true;
    std::vector<Waiting*> taken;
    taken.swap(batch_);
    lock.unlock();
    std::vector<std::vector<std::string>> commands;
    commands.reserve(taken.size());
    for (Waiting* waiting : taken) commands.push_back(std::move(waiting->args));
    auto replies = Pipeline(commands);
    lock.lock();
    for (size_t i = 0; i < taken.size(); ++i) {
      if (replies && i < replies->size()) taken[i]->reply = std::move((*replies)[i]);
      taken[i]->done = true;
    }
    sending_ = false;
    batchDone_.notify_all();
  }
  return std::move(mine.reply);
}

}  // namespace clan
