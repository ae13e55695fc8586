#include "master/gamespy_conversation.h"

#include <array>

#include "master/internal/gamespy_validate.h"

namespace master {

namespace {

// The games and their secrets, in one place.
constexpr std::array kGames = {
    GamespyGame{"ut", "Z5Nfb0"},
    GamespyGame{"tacticalops", "uMctFb"},
};

// Longer keys or values than these are not a GameSpy-style list.
constexpr qsizetype kMaxKey = 32;
constexpr qsizetype kMaxValue = 256;
constexpr qsizetype kMaxChallenge = 64;
// A master's greeting is a few dozen bytes; this many without a challenge is not a master.
constexpr qint64 kMaxGreeting = 4096;
// The challenge has six letters; an unterminated value of that length is whole.
constexpr qsizetype kChallengeLength = 6;

QString Shown(const QByteArray& bytes) {
  QString shown;
  for (const char c : bytes.left(24)) {
    const auto u = static_cast<unsigned char>(c);
    shown += (u >= 0x20 && u < 0x7F) ? QString(QChar(u)) : QStringLiteral("\\x%1").arg(u, 2, 16, QChar('0'));
  }
  if (bytes.size() > 24) shown += QStringLiteral("...");
  return shown;
}

bool IsKeyCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsChallengeCharacter(char c) { return c > 0x20 && c < 0x7F && c != '\\'; }

// A decimal number of 1..`digits` digits that is at most `max`; -1 otherwise.
int Number(const QByteArray& text, int digits, int max) {
  if (text.isEmpty() || text.size() > digits) return -1;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value <= max ? value : -1;
}

}  // namespace

std::optional<GamespyGame> FindGamespyGame(std::string_view name) {
  for (const GamespyGame& game : kGames) {
    if (game.name == name) return game;
  }
  return std::nullopt;
}

std::vector<std::unique_ptr<MasterConversation>> GamespyConversations(const std::vector<std::string_view>& names,
                                                                      GamespyLimits limits) {
  std::vector<std::unique_ptr<MasterConversation>> conversations;
  for (const std::string_view name : names) {
    if (const std::optional<GamespyGame> game = FindGamespyGame(name)) {
      conversations.push_back(std::make_unique<GamespyConversation>(*game, limits));
    }
  }
  return conversations;
}

GamespyConversation::GamespyConversation(GamespyGame game, GamespyLimits limits) : game_(game), limits_(limits) {}

QByteArray GamespyConversation::TakeOutgoing() {
  QByteArray taken;
  taken.swap(outgoing_);
  return taken;
}

MasterConversation::Progress GamespyConversation::Take(std::string_view bytes) {
  if (phase_ == Phase::Done) return progress_;
  const qint64 room = limits_.maxBytes - received_;
  const bool cut = qint64(bytes.size()) > room;
  if (cut) bytes = bytes.substr(0, size_t(std::max<qint64>(room, 0)));
  received_ += qint64(bytes.size());
  pending_.append(bytes.data(), qsizetype(bytes.size()));
  Parse(false);
  if (phase_ == Phase::Challenge && received_ > kMaxGreeting) {
    Fail(QStringLiteral("the master sent %1 bytes without a challenge").arg(received_));
  }
  if (phase_ != Phase::Done && cut) {
    if (phase_ == Phase::Challenge) {
      Fail(QStringLiteral("the master sent more than %1 bytes without a challenge").arg(limits_.maxBytes));
    } else {
      warnings_ << QStringLiteral("the list was cut at %1 bytes").arg(limits_.maxBytes);
      Finish();
    }
  }
  return progress_;
}

MasterConversation::Progress GamespyConversation::Closed() {
  if (phase_ == Phase::Done) return progress_;
  if (phase_ == Phase::Challenge) {
    Fail(QStringLiteral("the master closed the connection without a challenge"));
    return progress_;
  }
  Parse(true);
  if (phase_ == Phase::Done) return progress_;
  if (!listFieldSeen_) {
    // A \final\ alone may be the challenge's: on the bytes, a master that
    // drops us looks like one whose empty list ends without \final\. It
    // counts as no list, so that a refusal is never an empty success.
    Fail(QStringLiteral("the master closed the connection without a list (masters that check do so when "
                        "they refuse the validate answer)"));
    return progress_;
  }
  warnings_ << QStringLiteral("the list ended at the master's close without \\final\\");
  Finish();
  return progress_;
}

std::vector<ServerEntry> GamespyConversation::TakeEntries() {
  std::vector<ServerEntry> taken;
  taken.swap(entries_);
  return taken;
}

void GamespyConversation::Parse(bool atClose) {
  while (phase_ != Phase::Done) {
    Field field;
    QString garbage;
    const FieldResult result = NextField(field, atClose, garbage);
    if (result == FieldResult::Incomplete) return;
    if (result == FieldResult::Garbage) {
      Fail(QStringLiteral("the master's answer is not a GameSpy-style list: %1").arg(garbage));
      return;
    }
    if (phase_ == Phase::Challenge) {
      TakeChallengeField(field);
    } else {
      TakeListField(field);
    }
  }
}

GamespyConversation::FieldResult GamespyConversation::NextField(Field& field, bool atClose, QString& garbage) {
  if (pending_.isEmpty()) return FieldResult::Incomplete;
  if (pending_[0] != '\\') {
    garbage = QStringLiteral("\"%1\" where a \\key\\ belongs").arg(Shown(pending_));
    return FieldResult::Garbage;
  }
  const qsizetype keyEnd = pending_.indexOf('\\', 1);
  const qsizetype keyLength = (keyEnd < 0 ? pending_.size() : keyEnd) - 1;
  const QByteArray key = pending_.mid(1, keyLength);
  for (const char c : key) {
    if (!IsKeyCharacter(c)) {
      garbage = QStringLiteral("a key \"%1\"").arg(Shown(key));
      return FieldResult::Garbage;
    }
  }
  if (keyLength > kMaxKey) {
    garbage = QStringLiteral("a key longer than %1 bytes (\"%2\")").arg(kMaxKey).arg(Shown(key));
    return FieldResult::Garbage;
  }
  if (keyEnd < 0) return FieldResult::Incomplete;
  if (key.isEmpty()) {
    garbage = QStringLiteral("an empty key (\"%1\")").arg(Shown(pending_));
    return FieldResult::Garbage;
  }
  if (key == "final") {
    field.key = key;
    pending_.remove(0, keyEnd + 1);
    return FieldResult::Complete;
  }
  const qsizetype valueEnd = pending_.indexOf('\\', keyEnd + 1);
  const qsizetype valueLength = (valueEnd < 0 ? pending_.size() : valueEnd) - keyEnd - 1;
  if (valueLength > kMaxValue) {
    garbage = QStringLiteral("the value of \\%1\\ runs on beyond %2 bytes").arg(QString::fromLatin1(key)).arg(kMaxValue);
    return FieldResult::Garbage;
  }
  const bool wholeChallenge = phase_ == Phase::Challenge && key == "secure" && valueLength == kChallengeLength;
  if (valueEnd < 0 && !atClose && !wholeChallenge) return FieldResult::Incomplete;
  field.key = key;
  field.value = pending_.mid(keyEnd + 1, valueLength);
  pending_.remove(0, keyEnd + 1 + valueLength);
  return FieldResult::Complete;
}

void GamespyConversation::TakeChallengeField(const Field& field) {
  // \basic\ and anything else a master greets with say nothing we need.
  if (field.key != "secure") return;
  if (field.value.size() > kMaxChallenge) {
    Fail(QStringLiteral("the master's challenge is longer than %1 characters").arg(kMaxChallenge));
    return;
  }
  for (const char c : field.value) {
    if (!IsChallengeCharacter(c)) {
      Fail(QStringLiteral("the master's challenge \"%1\" holds characters a challenge has not").arg(Shown(field.value)));
      return;
    }
  }
  Answer(field.value);
}

void GamespyConversation::Answer(const QByteArray& challenge) {
  const QByteArray name(game_.name.data(), qsizetype(game_.name.size()));
  const QByteArray validate = GamespyValidate(std::string_view(challenge.constData(), size_t(challenge.size())), game_.secret);
  outgoing_ = "\\gamename\\" + name + "\\location\\0\\validate\\" + validate + "\\final\\" + "\\list\\\\gamename\\" +
              name + "\\final\\";
  phase_ = Phase::List;
}

void GamespyConversation::TakeListField(const Field& field) {
  if (field.key == "final") {
    // A master may end its challenge with \final\ too, and that one may
    // arrive after our answer: the first one before any list field is that.
    if (!listFieldSeen_ && !loneFinalAfterAnswer_) {
      loneFinalAfterAnswer_ = true;
      return;
    }
    Finish();
    return;
  }
  listFieldSeen_ = true;
  if (field.key == "ip") {
    AddEntry(field.value);
  } else {
    ++unknownFields_;
  }
}

void GamespyConversation::AddEntry(const QByteArray& value) {
  if (listed_ >= limits_.maxEntries) {
    warnings_ << QStringLiteral("the list was cut at %1 entries").arg(limits_.maxEntries);
    Finish();
    return;
  }
  const qsizetype colon = value.lastIndexOf(':');
  const QList<QByteArray> parts = value.left(colon < 0 ? 0 : colon).split('.');
  const int port = colon < 0 ? -1 : Number(value.mid(colon + 1), 5, 65535);
  bool usable = parts.size() == 4 && port > 0;
  QStringList octets;
  for (const QByteArray& part : parts) {
    const int octet = Number(part, 3, 255);
    usable = usable && octet >= 0;
    octets << QString::number(octet);
  }
  if (!usable) {
    ++skipped_;
    return;
  }
  ServerEntry entry;
  entry.address = octets.join('.');
  entry.queryPort = quint16(port);
  entries_.push_back(std::move(entry));
  ++listed_;
}

void GamespyConversation::Fail(const QString& error) {
  phase_ = Phase::Done;
  progress_ = Progress::Failed;
  error_ = error;
}

void GamespyConversation::Finish() {
  phase_ = Phase::Done;
  progress_ = Progress::Complete;
  if (skipped_ > 0) warnings_ << QStringLiteral("%1 entries with an unusable address or port were skipped").arg(skipped_);
  if (unknownFields_ > 0) warnings_ << QStringLiteral("%1 unknown fields in the list were ignored").arg(unknownFields_);
}

}  // namespace master
