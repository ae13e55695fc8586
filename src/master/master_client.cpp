#include "master/master_client.h"

#include <QRegularExpression>
#include <QTimer>

#include "platform/net/host_lookup.h"
#include "platform/net/tcp_stream.h"
#include "platform/net/udp_socket.h"

namespace master {

struct MasterClient::Link {
  std::unique_ptr<MasterConversation> conversation;
  platform::TcpStream* stream = nullptr;
  QTimer* connectTimer = nullptr;
  MasterConversation::Progress progress = MasterConversation::Progress::Waiting;
  bool connected = false;
  bool done = false;
};

namespace {

std::optional<quint16> PortOf(const QString& text) {
  bool ok = false;
  const uint port = text.toUInt(&ok);
  if (!ok || port == 0 || port > 65535 || text.startsWith('+')) return std::nullopt;
  return quint16(port);
}

QString Seconds(int milliseconds) {
  return milliseconds % 1000 == 0 ? QStringLiteral("%1 s").arg(milliseconds / 1000)
                                  : QStringLiteral("%1 ms").arg(milliseconds);
}

}  // namespace

QString MasterAddress::Text() const {
  return host.contains(':') ? QStringLiteral("[%1]:%2").arg(host).arg(port) : QStringLiteral("%1:%2").arg(host).arg(port);
}

std::optional<MasterAddress> ParseMasterAddress(const QString& text, quint16 defaultPort) {
  const QString trimmed = text.trimmed();
  MasterAddress address;
  QString portText;
  if (trimmed.startsWith('[')) {
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0) return std::nullopt;
    address.host = trimmed.mid(1, close - 1);
    const QString rest = trimmed.mid(close + 1);
    if (!rest.isEmpty()) {
      if (!rest.startsWith(':')) return std::nullopt;
      portText = rest.mid(1);
      if (portText.isEmpty()) return std::nullopt;
    }
    if (!platform::UdpAddress::FromText(address.host, 0)) return std::nullopt;
  } else if (trimmed.count(':') == 1) {
    address.host = trimmed.section(':', 0, 0);
    portText = trimmed.section(':', 1);
    if (portText.isEmpty()) return std::nullopt;
  } else if (trimmed.count(':') > 1) {
    address.host = trimmed;  // an IPv6 address without a port
    if (!platform::UdpAddress::FromText(address.host, 0)) return std::nullopt;
  } else {
    address.host = trimmed;
  }
  if (address.host.isEmpty() || address.host.contains(QRegularExpression(QStringLiteral("[\\s/\\\\@]")))) {
    return std::nullopt;
  }
  if (portText.isEmpty()) {
    if (defaultPort == 0) return std::nullopt;
    address.port = defaultPort;
  } else {
    const std::optional<quint16> port = PortOf(portText);
    if (!port) return std::nullopt;
    address.port = *port;
  }
  return address;
}

MasterClient::MasterClient(QString master, quint16 defaultPort,
                           std::vector<std::unique_ptr<MasterConversation>> conversations, MasterLimits limits,
                           QObject* parent)
    : QObject(parent), text_(std::move(master)), defaultPort_(defaultPort), limits_(limits) {
  for (std::unique_ptr<MasterConversation>& conversation : conversations) {
    auto link = std::make_unique<Link>();
    link->conversation = std::move(conversation);
    links_.push_back(std::move(link));
  }
  result_.master = text_;
}

// The streams, timers and the look-up are children: they go with the client.
MasterClient::~MasterClient() = default;

void MasterClient::Start() {
  if (started_) return;
  started_ = true;
  const std::optional<MasterAddress> address = ParseMasterAddress(text_, defaultPort_);
  if (!address) {
    Finish(QStringLiteral("\"%1\" is not a master's address (host:port)").arg(text_));
    return;
  }
  result_.master = address->Text();
  if (links_.empty()) {
    Finish(QStringLiteral("nothing to ask the master for"));
    return;
  }
  exchangeTimer_ = new QTimer(this);
  exchangeTimer_->setSingleShot(true);
  connect(exchangeTimer_, &QTimer::timeout, this, &MasterClient::OnTimeOut);
  exchangeTimer_->start(limits_.exchangeMs);
  if (const std::optional<platform::UdpAddress> numeric = platform::UdpAddress::FromText(address->host, address->port)) {
    Begin(*numeric);
    return;
  }
  lookup_ = new platform::HostLookup(this);
  connect(lookup_, &platform::HostLookup::Found, this,
          [this, host = address->host](const std::vector<platform::UdpAddress>& addresses) {
            if (finished_) return;
            if (addresses.empty()) {
              Finish(QStringLiteral("the master's name %1 was not found").arg(host));
              return;
            }
            Begin(addresses.front());
          });
  lookup_->Start(address->host, address->port);
}

void MasterClient::Begin(const platform::UdpAddress& address) {
  result_.address = address.Text();
  for (std::unique_ptr<Link>& owned : links_) {
    Link* link = owned.get();
    link->stream = new platform::TcpStream(this);
    connect(link->stream, &platform::TcpStream::Connected, this, [this, link] { OnConnected(*link); });
    connect(link->stream, &platform::TcpStream::ReadyRead, this, [this, link] { OnReadyRead(*link); });
    connect(link->stream, &platform::TcpStream::Closed, this, [this, link] { OnClosed(*link); });
    connect(link->stream, &platform::TcpStream::Failed, this,
            [this, link](const QString& reason) { OnFailed(*link, reason); });
    link->connectTimer = new QTimer(this);
    link->connectTimer->setSingleShot(true);
    connect(link->connectTimer, &QTimer::timeout, this, [this, link] {
      if (!link->connected && !link->done) {
        EndLink(*link, QStringLiteral("no connection to the master within %1").arg(Seconds(limits_.connectMs)));
      }
    });
    link->connectTimer->start(limits_.connectMs);
    link->stream->Connect(address);
  }
}

void MasterClient::OnConnected(Link& link) {
  if (link.done) return;
  link.connected = true;
  link.connectTimer->stop();
  Send(link);
}

void MasterClient::OnReadyRead(Link& link) {
  if (link.done) return;
  QByteArray bytes = link.stream->Read();
  const qint64 room = limits_.maxBytes - receivedBytes_;
  const bool overflow = bytes.size() > room;
  if (overflow) bytes.truncate(qsizetype(std::max<qint64>(room, 0)));
  receivedBytes_ += bytes.size();
  link.progress = link.conversation->Take(std::string_view(bytes.constData(), size_t(bytes.size())));
  Collect(link);
  if (finished_) return;
  if (overflow) {
    cut_ = true;
    result_.warnings << QStringLiteral("the master's answers were cut at %1 bytes").arg(limits_.maxBytes);
    Finish();
    return;
  }
  Send(link);
  if (link.progress != MasterConversation::Progress::Waiting) EndLink(link);
}

void MasterClient::OnClosed(Link& link) {
  if (link.done) return;
  link.progress = link.conversation->Closed();
  Collect(link);
  if (!finished_) EndLink(link);
}

void MasterClient::OnFailed(Link& link, const QString& reason) {
  if (link.done) return;
  EndLink(link, link.connected ? QStringLiteral("the connection to the master broke: %1").arg(reason)
                               : QStringLiteral("cannot connect to the master: %1").arg(reason));
}

void MasterClient::Send(Link& link) {
  const QByteArray outgoing = link.conversation->TakeOutgoing();
  if (!outgoing.isEmpty()) link.stream->Send(outgoing);
}

void MasterClient::Collect(Link& link) {
  for (ServerEntry& entry : link.conversation->TakeEntries()) {
    if (cut_) break;
    const QString key = QStringLiteral("%1:%2").arg(entry.address).arg(entry.queryPort);
    if (listed_.contains(key)) continue;
    if (int(result_.entries.size()) >= limits_.maxEntries) {
      cut_ = true;
      result_.warnings << QStringLiteral("the list was cut at %1 entries").arg(limits_.maxEntries);
      break;
    }
    listed_.insert(key);
    entry.masters = QStringList{result_.master};
    result_.entries.push_back(std::move(entry));
  }
  if (cut_) Finish();
}

void MasterClient::EndLink(Link& link, const QString& failure) {
  if (link.done) return;
  link.done = true;
  if (link.connectTimer) link.connectTimer->stop();
  if (link.stream) {
    link.stream->Close();
    link.stream->deleteLater();
    link.stream = nullptr;
  }
  const bool complete = failure.isEmpty() && link.progress == MasterConversation::Progress::Complete;
  if (complete) {
    ++completed_;
  } else {
    failures_ << (failure.isEmpty() ? link.conversation->Error() : failure);
  }
  if (const QString warning = link.conversation->Warning(); !warning.isEmpty()) result_.warnings << warning;
  for (const std::unique_ptr<Link>& other : links_) {
    if (!other->done) return;
  }
  Finish();
}

void MasterClient::OnTimeOut() {
  if (finished_) return;
  if (result_.address.isEmpty()) {
    Finish(QStringLiteral("the master's name was not found within %1").arg(Seconds(limits_.exchangeMs)));
    return;
  }
  for (std::unique_ptr<Link>& link : links_) {
    if (link->done) continue;
    Collect(*link);
    if (finished_) return;
    EndLink(*link, link->connected
                       ? QStringLiteral("no complete list from the master within %1").arg(Seconds(limits_.exchangeMs))
                       : QStringLiteral("no connection to the master within %1").arg(Seconds(limits_.exchangeMs)));
    if (finished_) return;
  }
}

void MasterClient::Finish(const QString& error) {
  if (finished_) return;
  finished_ = true;
  if (exchangeTimer_) exchangeTimer_->stop();
  for (std::unique_ptr<Link>& link : links_) {
    link->done = true;
    if (link->connectTimer) link->connectTimer->stop();
    if (link->stream) {
      link->stream->Close();
      link->stream->deleteLater();
      link->stream = nullptr;
    }
  }
  if (!error.isEmpty()) {
    result_.error = error;
  } else if (completed_ == 0 && result_.entries.empty()) {
    failures_.removeDuplicates();
    result_.error = failures_.isEmpty() ? QStringLiteral("no list came from the master") : failures_.join("; ");
  } else {
    for (const QString& failure : failures_) result_.warnings << failure;
  }
  // From the event loop: the receiver may delete the client in its slot.
  QTimer::singleShot(0, this, [this] { emit Finished(result_); });
}

}  // namespace master
