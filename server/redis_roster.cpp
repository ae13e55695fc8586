#include "redis_roster.h"

#include <algorithm>
#include <charconv>

namespace clan {
namespace {

// KEYS: names, member. ARGV: name, value, time to live (ms), member limit,
// member key prefix. A new name beyond the limit first drops the names whose
// member key has expired, then is refused if the roster is still full.
constexpr char kReportScript[] = R"(
local known = redis.call('EXISTS', KEYS[2]) == 1
if not known and redis.call('SCARD', KEYS[1]) >= tonumber(ARGV[4]) then
  for _, name in ipairs(redis.call('SMEMBERS', KEYS[1])) do
    if redis.call('EXISTS', ARGV[5] .. name) == 0 then redis.call('SREM', KEYS[1], name) end
  end
  if redis.call('SCARD', KEYS[1]) >= tonumber(ARGV[4]) then return 'full' end
end
redis.call('SET', KEYS[2], ARGV[2], 'PX', ARGV[3])
redis.call('SADD', KEYS[1], ARGV[1])
if known then return 'updated' end
return 'added'
)";

// KEYS: names, member. ARGV: name, value.
constexpr char kPinScript[] = R"(
redis.call('SET', KEYS[2], ARGV[2])
redis.call('SADD', KEYS[1], ARGV[1])
return 'pinned'
)";

// KEYS: names. ARGV: member key prefix, then names whose member key was
// found gone. A name leaves the set only if its key is still gone: it may
// have reported again meanwhile.
constexpr char kDropScript[] = R"(
for i = 2, #ARGV do
  if redis.call('EXISTS', ARGV[1] .. ARGV[i]) == 0 then redis.call('SREM', KEYS[1], ARGV[i]) end
end
return 'dropped'
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
      namesKey_(keyPrefix + "names"),
      memberPrefix_(keyPrefix + "m:"),
      limits_(limits),
      freshFor_(freshFor) {}

void RedisRoster::Forget() {
  std::lock_guard lock(mutex_);
  lastRead_.reset();
}

void RedisRoster::Remember(const Member& member) {
  std::lock_guard lock(mutex_);
  if (!lastRead_) return;
  const auto at = std::lower_bound(
      lastRead_->begin(), lastRead_->end(), member,
      [](const Member& a, const Member& b) { return NameOrder()(a.name, b.name); });
  if (at != lastRead_->end() && at->name == member.name) {
    *at = member;
  } else {
    lastRead_->insert(at, member);
  }
}

std::optional<Recorded> RedisRoster::Report(const Member& member) {
  const auto keep = std::max<long long>(1, KeepFor(member, limits_).count());
  const auto reply = redis_->Command({"EVAL", kReportScript, "2", namesKey_,
                                      memberPrefix_ + member.name, member.name,
                                      Encode(member, false), std::to_string(keep),
                                      std::to_string(limits_.maxMembers), memberPrefix_});
  const std::string* outcome = reply ? Text(*reply) : nullptr;
  if (outcome && *outcome == "full") return Recorded::kRosterFull;
  if (!outcome || (*outcome != "added" && *outcome != "updated")) {
    Forget();
    return std::nullopt;
  }
  Member recorded = member;
  recorded.pinned = false;
  Remember(recorded);
  return *outcome == "added" ? Recorded::kAdded : Recorded::kUpdated;
}

bool RedisRoster::Pin(const Member& member) {
  const auto reply = redis_->Command({"EVAL", kPinScript, "2", namesKey_,
                                      memberPrefix_ + member.name, member.name,
                                      Encode(member, true)});
  if (!reply || !Text(*reply)) {
    Forget();
    return false;
  }
  Member pinned = member;
  pinned.pinned = true;
  Remember(pinned);
  return true;
}

std::optional<std::vector<Member>> RedisRoster::Current(TimePoint) {
  {
    std::lock_guard lock(mutex_);
    // While one request reads the roster anew, the others answer with the
    // read before it rather than wait or read it too.
    if (lastRead_ && (std::chrono::steady_clock::now() - readAt_ < freshFor_ || reading_)) {
      return lastRead_;
    }
    reading_ = true;
  }
  const auto readAt = std::chrono::steady_clock::now();
  auto members = Fetch();
  std::lock_guard lock(mutex_);
  reading_ = false;
  if (!members) {
    lastRead_.reset();
  } else if (!lastRead_ || readAt_ < readAt) {
    lastRead_ = members;
    readAt_ = readAt;
  }
  return members;
}

std::optional<std::vector<Member>> RedisRoster::Fetch() {
  // The names, then their members in batches: plain commands, which Redis
  // serves much faster than a script that fetches member by member.
  const auto names = redis_->Command({"SMEMBERS", namesKey_});
  const auto* nameList = names ? std::get_if<std::vector<RedisValue>>(&names->value) : nullptr;
  if (!nameList) return std::nullopt;
  std::vector<Member> out;
  out.reserve(nameList->size());
  std::vector<std::string> gone = {"EVAL", kDropScript, "1", namesKey_, memberPrefix_};
  for (size_t first = 0; first < nameList->size(); first += kFetchBatch) {
    const size_t last = std::min(nameList->size(), first + kFetchBatch);
    std::vector<std::string> fetch = {"MGET"};
    for (size_t i = first; i < last; ++i) {
      const std::string* name = Text((*nameList)[i]);
      fetch.push_back(memberPrefix_ + (name ? *name : std::string()));
    }
    const auto values = redis_->Command(fetch);
    const auto* valueList = values ? std::get_if<std::vector<RedisValue>>(&values->value) : nullptr;
    if (!valueList || valueList->size() != last - first) return std::nullopt;
    for (size_t i = first; i < last; ++i) {
      const std::string* name = Text((*nameList)[i]);
      const std::string* value = Text((*valueList)[i - first]);
      if (!name) continue;
      if (!value) {
        gone.push_back(*name);
      } else if (auto member = Decode(*name, *value)) {
        out.push_back(std::move(*member));
      }
    }
  }
  if (gone.size() > 5 && !redis_->Command(gone)) return std::nullopt;
  std::sort(out.begin(), out.end(),
            [](const Member& a, const Member& b) { return NameOrder()(a.name, b.name); });
  return out;
}

}  // namespace clan
