#include "query/server_query.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <algorithm>

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
  connect(&socket_, &QUdpSocket::readyRead, this, &ServerQuery::ReadDatagrams);
}

ServerQuery::~ServerQuery() {
  if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
}

void ServerQuery::Start(const QString& host, quint16 port, int timeoutMs) {
  port_ = port;
  target_ = host + ":" + QString::number(port);
  attemptTimer_.setInterval(std::max(1, timeoutMs));
  settleTimer_.setInterval(std::clamp(timeoutMs / 3, 1, kSettleMs));
  // The whole query, a slow name look-up included, is bounded by the attempts.
  attemptTimer_.start();
  QHostAddress address;
  if (address.setAddress(host)) {
    Send(address);
    return;
  }
  lookupId_ = QHostInfo::lookupHost(host, this, [this](const QHostInfo& found) {
    lookupId_ = -1;
    if (finished_) return;
    if (found.addresses().isEmpty()) {
      Finish({false, QStringLiteral("Unbekannter Server %1").arg(target_), {}});
      return;
    }
    Send(found.addresses().first());
  });
}

void ServerQuery::Send(const QHostAddress& address) {
  if (socket_.state() == QAbstractSocket::UnconnectedState) {
    const QHostAddress any = address.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress(QHostAddress::AnyIPv6)
                                                                                  : QHostAddress(QHostAddress::AnyIPv4);
    if (!socket_.bind(any, 0)) {
      Finish({false, socket_.errorString(), {}});
      return;
    }
  }
  address_ = address;
  ++attempts_;
  sentAt_.start();
  for (const QByteArray& request : reader_->Requests()) socket_.writeDatagram(request, address_, port_);
}

void ServerQuery::ReadDatagrams() {
  while (!finished_ && socket_.hasPendingDatagrams()) {
    const QNetworkDatagram datagram = socket_.receiveDatagram();
    if (datagram.senderPort() != port_ || !datagram.senderAddress().isEqual(address_, QHostAddress::TolerantConversion))
      continue;
    const bool hadInfo = reader_->HasInfo();
    const QByteArray bytes = datagram.data();
    const ReplyReader::Progress progress = reader_->Take(std::string_view(bytes.constData(), size_t(bytes.size())));
    if (!hadInfo && reader_->HasInfo()) pingMs_ = int(sentAt_.elapsed());
    if (progress == ReplyReader::Progress::Failed) {
      Finish({false, QStringLiteral("Ungültige Antwort von %1: %2").arg(target_, reader_->Error()), {}});
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
  if (attempts_ > 0 && attempts_ < kAttempts) {
    // The second answer is read afresh, not mixed with pieces of the first.
    reader_ = MakeReplyReader(protocol_);
    attemptTimer_.start();
    Send(address_);
    return;
  }
  Finish({false, QStringLiteral("Keine Antwort von %1").arg(target_), {}});
}

void ServerQuery::FinishWithAnswer() {
  QueryResult result{true, {}, reader_->Answer()};
  result.info.pingMs = pingMs_;
  Finish(std::move(result));
}

void ServerQuery::Finish(QueryResult result) {
  if (finished_) return;
  finished_ = true;
  attemptTimer_.stop();
  settleTimer_.stop();
  socket_.close();
  emit Finished(result);
}

}  // namespace query
