#include "query/internal/text_reply.h"

#include <algorithm>
#include <charconv>

#include "query/display_text.h"

namespace query {

namespace {

constexpr int kMaxParts = 64;
constexpr size_t kMaxAnswers = 8;

// "player_12" with prefix "player_" gives 12; -1 when it is not that key or
// the index is out of range.
int IndexedKey(const std::string& key, std::string_view prefix) {
  if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) return -1;
  int index = -1;
  const char* first = key.data() + prefix.size();
  const char* last = key.data() + key.size();
  const auto [end, ec] = std::from_chars(first, last, index);
  if (ec != std::errc() || end != last || index < 0 || index >= kMaxPlayers) return -1;
  return index;
}

// Per-player keys of the player's looks; not shown.
bool IsHiddenPlayerKey(const std::string& key) {
  for (std::string_view prefix : {"mesh_", "skin_", "face_", "ngsecret_"}) {
    if (IndexedKey(key, prefix) >= 0) return true;
  }
  return false;
}

struct PlayerSlot {
  PlayerInfo player;
  bool named = false;
};

}  // namespace

std::vector<std::pair<std::string, std::string>> SplitTextPairs(std::string_view datagram) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  if (!datagram.empty() && datagram.front() == '\\') start = 1;
  while (start <= datagram.size()) {
    const size_t end = datagram.find('\\', start);
    if (end == std::string_view::npos) {
      if (start < datagram.size()) fields.push_back(datagram.substr(start));
      break;
    }
    fields.push_back(datagram.substr(start, end - start));
    start = end + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  size_t i = 0;
  while (i < fields.size()) {
    // "\final\" ends a reply with no value of its own.
    if (fields[i] == "final") {
      pairs.emplace_back("final", "");
      i += 1;
    } else if (i + 1 < fields.size()) {
      pairs.emplace_back(std::string(fields[i]), std::string(fields[i + 1]));
      i += 2;
    } else {
      if (!fields[i].empty()) pairs.emplace_back(std::string(fields[i]), std::string());
      break;
    }
  }
  return pairs;
}

std::vector<QByteArray> TextReplyReader::Requests() const { return {QByteArrayLiteral("\\status\\")}; }

ReplyReader::Progress TextReplyReader::Fail(const QString& why) {
  error_ = why;
  return Progress::Failed;
}

ReplyReader::Progress TextReplyReader::Take(std::string_view datagram) {
  if (!error_.isEmpty()) return Progress::Failed;
  bytes_ += datagram.size();
  if (bytes_ > kMaxReplyBytes) return Fail(QStringLiteral("Antwort zu groß"));
  Pairs pairs = SplitTextPairs(datagram);
  std::string queryId;
  int part = 0;
  bool final = false;
  for (const auto& [key, value] : pairs) {
    if (key == "final") final = true;
    if (key != "queryid") continue;
    const size_t dot = value.rfind('.');
    queryId = value.substr(0, dot == std::string::npos ? value.size() : dot);
    if (dot != std::string::npos) {
      const auto [end, ec] = std::from_chars(value.data() + dot + 1, value.data() + value.size(), part);
      if (ec != std::errc() || part < 1 || part > kMaxParts) return Fail(QStringLiteral("Ungültige Paketnummer"));
    }
  }
  for (const auto& [key, value] : pairs) {
    if (key == "hostname" || key == "mapname" || key == "numplayers") hasInfo_ = true;
  }
  if (part == 0) {
    if (unnumbered_.size() >= size_t(kMaxParts)) return Fail(QStringLiteral("Zu viele Pakete"));
    unnumbered_.push_back(std::move(pairs));
    unnumberedFinal_ = unnumberedFinal_ || final;
  } else {
    if (!answers_.count(queryId) && answers_.size() >= kMaxAnswers) return Fail(QStringLiteral("Zu viele Antworten"));
    IdReply& answer = answers_[queryId];
    answer.parts[part] = std::move(pairs);
    if (final) answer.finalPart = part;
  }
  return hasInfo_ && AllPartsIn() ? Progress::Complete : Progress::Waiting;
}

bool TextReplyReader::AllPartsIn() const {
  if (answers_.empty()) return unnumberedFinal_;
  if (answers_.size() > 1) return false;
  for (const auto& [id, answer] : answers_) {
    if (answer.finalPart == 0) return false;
    for (int p = 1; p <= answer.finalPart; ++p) {
      if (!answer.parts.count(p)) return false;
    }
  }
  return true;
}

bool TextReplyReader::HasInfo() const { return hasInfo_; }

ServerInfo TextReplyReader::Answer() const {
  ServerInfo info;
  std::map<int, PlayerSlot> players;
  std::vector<const Pairs*> parts;
  for (const auto& [id, answer] : answers_) {
    for (const auto& [number, pairs] : answer.parts) parts.push_back(&pairs);
  }
  for (const Pairs& pairs : unnumbered_) parts.push_back(&pairs);
  for (const Pairs* pairs : parts) {
    for (const auto& [key, value] : *pairs) {
      if (key == "queryid" || key == "final") continue;
      if (key == "hostname") info.name = TextValue(value);
      else if (key == "mapname") info.map = TextValue(value);
      else if (key == "maptitle") info.mapTitle = TextValue(value);
      else if (key == "gametype") info.gameType = TextValue(value);
      else if (key == "numplayers") info.players = std::max(0, LenientNumber(value));
      else if (key == "maxplayers") info.maxPlayers = std::max(0, LenientNumber(value));
      else if (int i = IndexedKey(key, "player_"); i >= 0) {
        players[i].player.name = TextValue(value);
        players[i].named = true;
      } else if (int i = IndexedKey(key, "frags_"); i >= 0) players[i].player.score = LenientNumber(value);
      else if (int i = IndexedKey(key, "ping_"); i >= 0) players[i].player.ping = LenientNumber(value);
      else if (int i = IndexedKey(key, "team_"); i >= 0) players[i].player.team = LenientNumber(value);
      else if (IsHiddenPlayerKey(key)) {
      } else if (info.rules.size() < kMaxRules) {
        info.rules.append({TextValue(key), TextValue(value)});
      }
    }
  }
  for (const auto& [index, slot] : players) {
    if (slot.named) info.playerList.append(slot.player);
  }
  return info;
}

}  // namespace query
