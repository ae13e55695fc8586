#include "master/internal/ut2004_conversation.h"

#include <optional>

#include "query/byte_reader.h"

namespace master {

namespace {

// What the client says about itself after the two hashes: the name the
// game's browser gives, the last patch's version, its platform byte and
// language, then words about its hardware that the masters do not look at.
constexpr char kClientName[] = "UT2K4CLIENT";
constexpr quint32 kClientVersion = 3369;
constexpr quint8 kClientPlatform = 6;
constexpr char kClientLanguage[] = "int";
constexpr quint32 kHardwareWords[] = {0, 0xEEEE, 0x11};
constexpr quint8 kClientTrailer = 1;
// The checksum of the client's packages, which the masters take as zeros.
constexpr char kPackageChecksum[] = "00000000000000000000000000000000";

constexpr quint8 kQueryServerList = 0;
constexpr quint8 kOperatorEquals = 0;

void AppendUInt32(QByteArray& out, quint32 value) {
  for (int i = 0; i < 4; ++i) out.append(char((value >> (8 * i)) & 0xFF));
}

// A string as the engine writes it: its length with the closing NUL as a
// compact index, then the bytes and the NUL.
void AppendString(QByteArray& out, const QByteArray& text) {
  const quint32 length = quint32(text.size()) + 1;
  quint32 rest = length >> 6;
  out.append(char((length & 0x3F) | (rest ? 0x40 : 0)));
  while (rest) {
    const quint32 next = rest >> 7;
    out.append(char((rest & 0x7F) | (next ? 0x80 : 0)));
    rest = next;
  }
  out.append(text);
  out.append('\0');
}

quint32 ReadUInt32(std::string_view bytes) {
  quint32 value = 0;
  for (int i = 0; i < 4; ++i) value |= quint32(quint8(bytes[size_t(i)])) << (8 * i);
  return value;
}

quint16 ReadPort(query::ByteReader& reader) {
  const quint8 low = reader.Byte();
  const quint8 high = reader.Byte();
  return quint16(low | (high << 8));
}

// A string of up to 62 printable ASCII characters, whose length fits the
// compact index's first byte: its length byte, the characters, the NUL.
std::optional<QByteArray> ShortPrintableString(std::string_view message) {
  if (message.empty()) return std::nullopt;
  const size_t length = quint8(message[0]);  // the NUL counted
  if (length < 2 || length > 0x3F || message.size() < 1 + length || message[length] != '\0') return std::nullopt;
  const std::string_view text = message.substr(1, length - 1);
  for (const char c : text) {
    if (c < 0x21 || c > 0x7E) return std::nullopt;
  }
  return QByteArray(text.data(), qsizetype(text.size()));
}

}  // namespace

Ut2004Conversation::Ut2004Conversation(Ut2004Credentials credentials, QString gameType)
    : credentials_(std::move(credentials)), gameType_(std::move(gameType)) {}

QByteArray Ut2004Conversation::TakeOutgoing() {
  QByteArray out;
  out.swap(outgoing_);
  return out;
}

MasterConversation::Progress Ut2004Conversation::Take(std::string_view bytes) {
  if (stage_ == Stage::Failed) return Progress::Failed;
  if (stage_ == Stage::Done) return Progress::Complete;
  buffer_.append(bytes);
  size_t pos = 0;
  Progress progress = Progress::Waiting;
  while (progress == Progress::Waiting && buffer_.size() - pos >= 4) {
    const quint32 length = ReadUInt32(std::string_view(buffer_).substr(pos, 4));
    if (length > kMaxMessageLength) {
      progress = Fail(QStringLiteral("the master announced a message of %1 bytes").arg(length));
      break;
    }
    if (buffer_.size() - pos - 4 < length) break;
    progress = HandleMessage(std::string_view(buffer_).substr(pos + 4, length));
    pos += 4 + length;
  }
  buffer_.erase(0, pos);
  return progress;
}

MasterConversation::Progress Ut2004Conversation::Closed() {
  switch (stage_) {
    case Stage::Done:
      return Progress::Complete;
    case Stage::Failed:
      return Progress::Failed;
    case Stage::Servers:
      stage_ = Stage::Done;
      warning_ = QStringLiteral("the master closed the connection after %1 of %2 servers").arg(received_).arg(announced_);
      if (skipped_) warning_ += QStringLiteral("; ") + SkippedNote();
      return Progress::Complete;
    case Stage::Challenge:
      return Fail(QStringLiteral("the master closed the connection without a challenge"));
    case Stage::Approval:
    case Stage::Verification:
      return Fail(QStringLiteral("the master closed the connection during the login"));
    case Stage::Count:
      return Fail(QStringLiteral("the master closed the connection before the list"));
  }
  return Progress::Failed;
}

std::vector<ServerEntry> Ut2004Conversation::TakeEntries() {
  std::vector<ServerEntry> out;
  out.swap(entries_);
  return out;
}

MasterConversation::Progress Ut2004Conversation::HandleMessage(std::string_view message) {
  switch (stage_) {
    case Stage::Challenge:
      return OnChallenge(message);
    case Stage::Approval:
      return OnApproval(message);
    case Stage::Verification:
      return OnVerification(message);
    case Stage::Count:
      return OnCount(message);
    case Stage::Servers:
      return OnServer(message);
    case Stage::Done:
      return Progress::Complete;
    case Stage::Failed:
      return Progress::Failed;
  }
  return Progress::Failed;
}

MasterConversation::Progress Ut2004Conversation::Fail(const QString& error) {
  stage_ = Stage::Failed;
  error_ = error;
  buffer_.clear();
  return Progress::Failed;
}

MasterConversation::Progress Ut2004Conversation::OnChallenge(std::string_view message) {
  // Hashed as sent: read raw, a short string of printable characters.
  const std::optional<QByteArray> challenge = ShortPrintableString(message);
  if (!challenge) return Fail(QStringLiteral("the master's challenge is unusable"));
  QByteArray payload;
  AppendString(payload, credentials_.KeyHash());
  AppendString(payload, credentials_.ChallengeResponse(*challenge));
  AppendString(payload, kClientName);
  AppendUInt32(payload, kClientVersion);
  payload.append(char(kClientPlatform));
  AppendString(payload, kClientLanguage);
  for (const quint32 word : kHardwareWords) AppendUInt32(payload, word);
  payload.append(char(kClientTrailer));
  Send(payload);
  stage_ = Stage::Approval;
  return Progress::Waiting;
}

MasterConversation::Progress Ut2004Conversation::OnApproval(std::string_view message) {
  query::ByteReader reader(message);
  const QString word = reader.String();
  if (reader.Failed() || word != QLatin1String("APPROVED"))
    return Fail(QStringLiteral("the master did not accept the CD key: %1").arg(word.left(80)));
  QByteArray payload;
  AppendString(payload, kPackageChecksum);
  Send(payload);
  stage_ = Stage::Verification;
  return Progress::Waiting;
}

MasterConversation::Progress Ut2004Conversation::OnVerification(std::string_view message) {
  query::ByteReader reader(message);
  const QString word = reader.String();
  if (reader.Failed() || word != QLatin1String("VERIFIED"))
    return Fail(QStringLiteral("the master did not verify the client: %1").arg(word.left(80)));
  QByteArray payload;
  payload.append(char(kQueryServerList));
  if (gameType_.isEmpty()) {
    payload.append(char(0));
  } else {
    payload.append(char(1));
    AppendString(payload, "gametype");
    AppendString(payload, gameType_.toLatin1());
    payload.append(char(kOperatorEquals));
  }
  Send(payload);
  stage_ = Stage::Count;
  return Progress::Waiting;
}

MasterConversation::Progress Ut2004Conversation::OnCount(std::string_view message) {
  if (message.size() < 4) return Fail(QStringLiteral("the master's server count is unusable"));
  announced_ = ReadUInt32(message);
  if (announced_ == 0) {
    stage_ = Stage::Done;
    return Progress::Complete;
  }
  stage_ = Stage::Servers;
  return Progress::Waiting;
}

MasterConversation::Progress Ut2004Conversation::OnServer(std::string_view message) {
  ++received_;
  query::ByteReader reader(message);
  const quint8 a = reader.Byte(), b = reader.Byte(), c = reader.Byte(), d = reader.Byte();
  const quint16 gamePort = ReadPort(reader);
  const quint16 queryPort = ReadPort(reader);
  ServerEntry entry;
  entry.name = reader.String();
  entry.map = reader.String();
  entry.gameType = reader.String();
  entry.players = reader.Byte();
  entry.maxPlayers = reader.Byte();
  // Flags and whatever a newer master adds follow; nothing here needs them.
  if (reader.Failed() || (a | b | c | d) == 0 || gamePort == 0 || queryPort == 0) {
    ++skipped_;
  } else {
    entry.address = QStringLiteral("%1.%2.%3.%4").arg(a).arg(b).arg(c).arg(d);
    entry.gamePort = gamePort;
    entry.queryPort = queryPort;
    entries_.push_back(std::move(entry));
  }
  if (received_ < announced_) return Progress::Waiting;
  stage_ = Stage::Done;
  if (skipped_) warning_ = SkippedNote();
  return Progress::Complete;
}

void Ut2004Conversation::Send(const QByteArray& payload) {
  AppendUInt32(outgoing_, quint32(payload.size()));
  outgoing_.append(payload);
}

QString Ut2004Conversation::SkippedNote() const {
  return QStringLiteral("%1 unreadable entries were skipped").arg(skipped_);
}

}  // namespace master
