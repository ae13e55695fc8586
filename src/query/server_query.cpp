#include "query/server_query.h"

#include <algorithm>

#include "query/protocol_readers.h"

namespace query {

namespace {
constexpr int kAttempts = 2;
}

ServerQuery::ServerQuery(QueryProtocol protocol, QObject* parent)
    : QObject(parent), protocol_(protocol), reader_(MakeReplyReader(protocol)) {
  attemptTimer_.setSingleShot(true);
  settleTimer_.setSingleShot(true);
  connect(&attemptTimer_, &QTimer::timeout, this, &ServerQuery::AttemptTimedOut);
  connect(&settleTimer_, &QTimer::timeout, this, &ServerQuery::FinishWithAnswer);
  connect(&socket_, &platform::UdpSocket::ReadyRead, this, &ServerQuery::ReadDatagrams);
}

ServerQuery::~ServerQuery() = default;

void ServerQuery::Start(const QString& host, quint16 port, int timeoutMs) {
  target_ = host + ":" + QString::number(port);
  attemptTimer_.setInterval(std::max(1, timeoutMs));
  settleTimer_.setInterval(std::clamp(timeoutMs / 3, 1, kSettleMs));
  // The whole query, a slow name look-up included, is bounded by the attempts.
  attemptTimer_.start();
  if (const std::optional<platform::UdpAddress> address = platform::UdpAddress::FromText(host, port)) {
    // Sent from the event loop, so that a refusal, too, is told after Start() returned.
    QMetaObject::invokeMethod(this, [this, address = *address] { Send(address); }, Qt::QueuedConnection);
    return;
  }
  lookup_ = makeLookup_ ? makeLookup_() : std::make_unique<platform::HostLookup>();
  connect(lookup_.get(), &platform::HostLookup::Found, this, &ServerQuery::AddressesFound);
  lookup_->Start(host, port);
}

void ServerQuery::AddressesFound(const std::vector<platform::UdpAddress>& addresses) {
  if (finished_) return;
  if (addresses.empty()) {
    Finish({false, QStringLiteral("Unbekannter Server %1").arg(target_), {}, QueryFailure::UnknownHost, target_, {}});
    return;
  }
  Send(addresses.front());
}

void ServerQuery::Send(const platform::UdpAddress& address) {
  if (!socket_.IsOpen() && !socket_.Open(address.Family())) {
    Finish({false, socket_.ErrorText(), {}, QueryFailure::NoSocket, target_, socket_.ErrorText()});
    return;
  }
  address_ = address;
  ++attempts_;
  sentAt_.start();
  bool anySent = false;
  for (const QByteArray& request : reader_->Requests()) anySent = socket_.Send(address, request) || anySent;
  // Nothing went out, so no answer can come: say why instead of waiting.
  if (!anySent)
    Finish({false, QStringLiteral("Anfrage an %1 nicht gesendet (%2)").arg(target_, socket_.ErrorText()), {},
            QueryFailure::NotSent, target_, socket_.ErrorText()});
}

void ServerQuery::ReadDatagrams() {
  while (!finished_) {
    const std::optional<platform::UdpDatagram> datagram = socket_.Receive();
    if (!datagram) return;
    if (!address_ || !(datagram->sender == *address_)) continue;
    const bool hadInfo = reader_->HasInfo();
    const QByteArray& bytes = datagram->data;
    const ReplyReader::Progress progress = reader_->Take(std::string_view(bytes.constData(), size_t(bytes.size())));
    if (!hadInfo && reader_->HasInfo()) pingMs_ = int(sentAt_.elapsed());
    if (progress == ReplyReader::Progress::Failed) {
      Finish({false, QStringLiteral("Ungültige Antwort von %1: %2").arg(target_, reader_->Error()), {},
              QueryFailure::BadAnswer, target_, {}});
      return;
    }
    if (progress == ReplyReader::Progress::Complete) {
      FinishWithAnswer();
      return;
    }
    if (reader_->HasInfo()) settleTimer_.start();
  }
}

void ServerQuery::AttemptTimedOut() {
  if (reader_->HasInfo()) {
    FinishWithAnswer();
    return;
  }
  if (!address_) {
    // The name's look-up had the first attempt's time and did not end.
    Finish({false, QStringLiteral("Name nicht aufgelöst: %1 (keine Antwort vom Namensdienst)").arg(target_), {},
            QueryFailure::LookupTimedOut, target_, {}});
    return;
  }
  if (attempts_ > 0 && attempts_ < kAttempts) {
    // The second answer is read afresh, not mixed with pieces of the first.
    reader_ = MakeReplyReader(protocol_);
    attemptTimer_.start();
    Send(*address_);
    return;
  }
  Finish({false, QStringLiteral("Keine Antwort von %1").arg(target_), {}, QueryFailure::NoAnswer, target_, {}});
}

void ServerQuery::FinishWithAnswer() {
  QueryResult result;
  result.ok = true;
  result.info = reader_->Answer();
  result.info.pingMs = pingMs_;
  result.target = target_;
  Finish(std::move(result));
}

void ServerQuery::Finish(QueryResult result) {
  if (finished_) return;
  finished_ = true;
  attemptTimer_.stop();
  settleTimer_.stop();
  socket_.Close();
  emit Finished(result);
}

}  // namespace query
