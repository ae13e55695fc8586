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

// KEYS: names. ARGV: member key prefix. Name and value of every member
// still there; the names of expired members leave the set.
constexpr char kCurrentScript[] = R"(
local out = {}
for _, name in ipairs(redis.call('SMEMBERS', KEYS[1])) do
  local value = redis.call('GET', ARGV[1] .. name)
  if value then
    out[#out + 1] = name
    out[#out + 1] = value
  else
    redis.call('SREM', KEYS[1], name)
  end
end
return out
)";

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
                         RosterLimits limits)
    : redis_(std::move(redis)),
      namesKey_(keyPrefix + "names"),
      memberPrefix_(keyPrefix + "m:"),
      limits_(limits) {}

std::optional<Recorded> RedisRoster::Report(const Member& member) {
  const auto keep = std::max<long long>(1, KeepFor(member, limits_).count());
  const auto reply = redis_->Command({"EVAL", kReportScript, "2", namesKey_,
                                      memberPrefix_ + member.name, member.name,
                                      Encode(member, false), std::to_string(keep),
                                      std::to_string(limits_.maxMembers), memberPrefix_});
  const std::string* outcome = reply ? Text(*reply) : nullptr;
  if (!outcome) return std::nullopt;
  if (*outcome == "added") return Recorded::kAdded;
  if (*outcome == "updated") return Recorded::kUpdated;
  if (*outcome == "full") return Recorded::kRosterFull;
  return std::nullopt;
}

bool RedisRoster::Pin(const Member& member) {
  const auto reply = redis_->Command({"EVAL", kPinScript, "2", namesKey_,
                                      memberPrefix_ + member.name, member.name,
                                      Encode(member, true)});
  return reply && Text(*reply);
}

std::optional<std::vector<Member>> RedisRoster::Current(TimePoint) {
  const auto reply = redis_->Command({"EVAL", kCurrentScript, "1", namesKey_, memberPrefix_});
  const auto* items = reply ? std::get_if<std::vector<RedisValue>>(&reply->value) : nullptr;
  if (!items) return std::nullopt;
  std::vector<Member> out;
  out.reserve(items->size() / 2);
  for (size_t i = 0; i + 1 < items->size(); i += 2) {
    const std::string* name = Text((*items)[i]);
    const std::string* value = Text((*items)[i + 1]);
    if (!name || !value) continue;
    if (auto member = Decode(*name, *value)) out.push_back(std::move(*member));
  }
  std::sort(out.begin(), out.end(),
            [](const Member& a, const Member& b) { return NameOrder()(a.name, b.name); });
  return out;
}

}  // namespace clan
