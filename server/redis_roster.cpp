#include "redis_roster.h"

#include <algorithm>
#include <charconv>

namespace clan {
namespace {

// The members' expiry times are kept in a sorted set, scored by Redis's own
// clock (a pinned member: +inf), so that a report costs O(log n): the names
// past their time are trimmed off its front, and its size is the count the
// member limit holds against, exactly, whichever instance reports.
// KEYS: expiry, member. ARGV: name, value, time to live (ms), member limit.
constexpr char kReportScript[] = R"(
local clock = redis.call('TIME')
local now = tonumber(clock[1]) * 1000 + math.floor(tonumber(clock[2]) / 1000)
redis.call('ZREMRANGEBYSCORE', KEYS[1], '-inf', string.format('%.0f', now))
local known = redis.call('ZSCORE', KEYS[1], ARGV[1])
if not known and redis.call('ZCARD', KEYS[1]) >= tonumber(ARGV[4]) then return 'full' end
redis.call('SET', KEYS[2], ARGV[2], 'PX', ARGV[3])
redis.call('ZADD', KEYS[1], string.format('%.0f', now + tonumber(ARGV[3])), ARGV[1])
if known then return 'updated' end
return 'added'
)";

// KEYS: expiry, member. ARGV: name, value.
constexpr char kPinScript[] = R"(
redis.call('SET', KEYS[2], ARGV[2])
redis.call('ZADD', KEYS[1], '+inf', ARGV[1])
return 'pinned'
)";

// Names fetched by one MGET at most.
constexpr size_t kFetchBatch = 1000;

// A member's value: "<reported, ms since the epoch> <pinned 0|1>
// <bytes of server>:<server><map>".
std::string Encode(const Member& member, bool pinned) {
  const auto reported = std::chrono::duration_cast<std::chrono::milliseconds>(
      member.reported.time_since_epoch());
  return std::to_string(reported.count()) + (pinned ? " 1 " : " 0 ") +
         std::to_string(member.server.size()) + ":" + member.server + member.map;
}

std::optional<Member> Decode(std::string name, std::string_view value) {
  long long reported = 0;
  size_t serverBytes = 0;
  const char* at = value.data();
  const char* end = value.data() + value.size();
  auto parsed = std::from_chars(at, end, reported);
  if (parsed.ec != std::errc() || end - parsed.ptr < 3 || parsed.ptr[0] != ' ' ||
      parsed.ptr[2] != ' ') {
    return std::nullopt;
  }
  const bool pinned = parsed.ptr[1] == '1';
  parsed = std::from_chars(parsed.ptr + 3, end, serverBytes);
  if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != ':' ||
      static_cast<size_t>(end - parsed.ptr - 1) < serverBytes) {
    return std::nullopt;
  }
  const std::string_view rest(parsed.ptr + 1, static_cast<size_t>(end - parsed.ptr - 1));
  Member member;
  member.name = std::move(name);
  member.server = std::string(rest.substr(0, serverBytes));
  member.map = std::string(rest.substr(serverBytes));
  member.reported = TimePoint(std::chrono::milliseconds(reported));
  member.pinned = pinned;
  return member;
}

const std::string* Text(const RedisValue& value) { return std::get_if<std::string>(&value.value); }

}  // namespace

RedisRoster::RedisRoster(std::shared_ptr<RedisClient> redis, std::string keyPrefix,
                         RosterLimits limits, std::chrono::milliseconds freshFor)
    : redis_(std::move(redis)),
      expiryKey_(keyPrefix + "expiry"),
      memberPrefix_(keyPrefix + "m:"),
      limits_(limits),
      freshFor_(freshFor),
      readAhead_([this] { ReadAhead(); }) {}

void RedisRoster::Forget() {
  std::lock_guard lock(mutex_);
  read_.reset();
  current_.reset();
}

void RedisRoster::Remember(const Member& member) {
  std::lock_guard lock(mutex_);
  if (!read_) return;
  read_->Put(member);
  current_.reset();
}

std::optional<Recorded> RedisRoster::Report(const Member& member) {
  const auto keep = std::max<long long>(1, KeepFor(member, limits_).count());
  // Reports made at the same time go to Redis in one exchange.
  const auto reply = redis_->Batched({"EVAL", kReportScript, "2", expiryKey_,
                                      memberPrefix_ + member.name, member.name,
                                      Encode(member, false), std::to_string(keep),
                                      std::to_string(limits_.maxMembers)});
  const std::string* outcome = reply ? Text(*reply) : nullptr;
  if (outcome && *outcome == "full") return Recorded::kRosterFull;
  if (!outcome || (*outcome != "added" && *outcome != "updated")) {
    Forget();
    return std::nullopt;
  }
  Member recorded = member;
  recorded.pinned = false;
  // As Redis keeps it, so that the next read finds it unchanged.
  recorded.reported = std::chrono::floor<std::chrono::milliseconds>(member.reported);
  Remember(recorded);
  return *outcome == "added" ? Recorded::kAdded : Recorded::kUpdated;
}

bool RedisRoster::Pin(const Member& member) {
  const auto reply = redis_->Command({"EVAL", kPinScript, "2", expiryKey_,
                                      memberPrefix_ + member.name, member.name,
                                      Encode(member, true)});
  if (!reply || !Text(*reply)) {
    Forget();
    return false;
  }
  Member pinned = member;
  pinned.pinned = true;
  pinned.reported = std::chrono::floor<std::chrono::milliseconds>(member.reported);
  Remember(pinned);
  return true;
}

bool RedisRoster::Refresh(std::unique_lock<std::mutex>& lock) {
  if (!usedSinceRead_) {
    usedSinceRead_ = true;
    used_.notify_one();
  }
  // While one request reads the roster anew, the others answer with the
  // read before it rather than wait or read it too.
  if (read_ && (std::chrono::steady_clock::now() - readAt_ < freshFor_ || reading_)) return true;
  return Read(lock);
}

bool RedisRoster::Read(std::unique_lock<std::mutex>& lock) {
  reading_ = true;
  usedSinceRead_ = false;
  lock.unlock();
  const auto readAt = std::chrono::steady_clock::now();
  auto fetched = Fetch();
  lock.lock();
  reading_ = false;
  if (!fetched) {
    read_.reset();
    current_.reset();
    return false;
  }
  if (!read_ || readAt_ < readAt) {
    // Changed in place: the members this instance knows already keep their
    // lines, and the stretches without a change keep their pieces.
    if (!read_) read_ = std::make_unique<RosterLines>();
    read_->Assign(*fetched);
    current_.reset();
    readAt_ = readAt;
  }
  return true;
}

void RedisRoster::ReadAhead() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    // Sleeps until a request uses a read, then until that read is nearly old.
    used_.wait(lock, [this] { return stopping_ || (usedSinceRead_ && read_ && !reading_); });
    if (stopping_) break;
    const auto due = readAt_ + freshFor_ * 4 / 5;
    if (used_.wait_until(lock, due, [this] { return stopping_; })) break;
    if (read_ && !reading_ && usedSinceRead_ &&
        std::chrono::steady_clock::now() >= readAt_ + freshFor_ * 4 / 5) {
      Read(lock);
    }
  }
}

RedisRoster::~RedisRoster() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  used_.notify_all();
  readAhead_.join();
}

Roster RedisRoster::Current(TimePoint) {
  std::unique_lock lock(mutex_);
  if (!Refresh(lock)) return nullptr;
  if (!current_) current_ = std::make_shared<const std::vector<Member>>(read_->Members());
  return current_;
}

LinesAnswer RedisRoster::Lines(TimePoint, AnswerMemory& memory) {
  std::unique_lock lock(mutex_);
  if (!Refresh(lock)) return {false, nullptr};
  return {true, read_->Answer(memory)};
}

std::optional<std::vector<Member>> RedisRoster::Fetch() {
  // The names, then their members in batches sent at once: plain commands,
  // which Redis serves much faster than a script that fetches member by
  // member. A name
  // past its time that no report has trimmed yet has lost its member key.
  const auto names = redis_->Command({"ZRANGE", expiryKey_, "0", "-1"});
  const auto* nameList = names ? std::get_if<std::vector<RedisValue>>(&names->value) : nullptr;
  if (!nameList) return std::nullopt;
  std::vector<std::vector<std::string>> fetches;
  for (size_t first = 0; first < nameList->size(); first += kFetchBatch) {
    const size_t last = std::min(nameList->size(), first + kFetchBatch);
    std::vector<std::string> fetch = {"MGET"};
    fetch.reserve(last - first + 1);
    for (size_t i = first; i < last; ++i) {
      const std::string* name = Text((*nameList)[i]);
      fetch.push_back(memberPrefix_ + (name ? *name : std::string()));
    }
    fetches.push_back(std::move(fetch));
  }
  std::vector<RedisValue> batches;
  if (!fetches.empty()) {
    auto replies = redis_->Pipeline(fetches);
    if (!replies) return std::nullopt;
    for (auto& reply : *replies) {
      if (!reply) return std::nullopt;
      batches.push_back(std::move(*reply));
    }
  }
  if (batches.size() != fetches.size()) return std::nullopt;
  std::vector<Member> out;
  out.reserve(nameList->size());
  for (size_t batch = 0; batch < batches.size(); ++batch) {
    const auto* valueList = std::get_if<std::vector<RedisValue>>(&batches[batch].value);
    const size_t first = batch * kFetchBatch;
    const size_t last = std::min(nameList->size(), first + kFetchBatch);
    if (!valueList || valueList->size() != last - first) return std::nullopt;
    for (size_t i = first; i < last; ++i) {
      const std::string* name = Text((*nameList)[i]);
      const std::string* value = Text((*valueList)[i - first]);
      if (!name || !value) continue;
      if (auto member = Decode(*name, *value)) out.push_back(std::move(*member));
    }
  }
  std::sort(out.begin(), out.end(),
            [](const Member& a, const Member& b) { return NameOrder()(a.name, b.name); });
  return out;
}

}  // namespace clan
