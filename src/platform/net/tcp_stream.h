// A TCP connection on the event loop, in place of the network library's:
// Connect() starts a non-blocking connect to a numeric address and returns
// at once; Connected() or Failed() follows from the event loop, never from
// inside Connect(). Send() queues bytes and hands them to the kernel as the
// connection takes them; Read() takes what has arrived, without blocking.
// Closed() says the peer ended the stream (everything it sent was announced
// by ReadyRead() before); Failed() carries what went wrong in words
// ("connection refused", "no route to host", ...). After Closed() or Failed()
// nothing more is emitted. Nothing here blocks and no nested event loop runs;
// a stream may be deleted from inside any of its own signals.
#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>

#include "platform/net/udp_socket.h"

class QSocketNotifier;

namespace platform {

class TcpStream : public QObject {
  Q_OBJECT
 public:
  explicit TcpStream(QObject* parent = nullptr);
  ~TcpStream() override;
  TcpStream(const TcpStream&) = delete;
  TcpStream& operator=(const TcpStream&) = delete;

  // Starts connecting to `to` (an IPv4 or IPv6 address with its port). Once per stream.
  void Connect(const UdpAddress& to);
  // Queues `bytes`; they go out in order once the connection is up.
  void Send(const QByteArray& bytes);
  // Everything received and not yet taken (empty when nothing waits).
  QByteArray Read();
  // Ends the connection; nothing is emitted after this.
  void Close();

  bool IsConnected() const { return state_ == State::Connected; }
  // Where Connect() goes.
  UdpAddress Peer() const { return peer_; }

 signals:
  void Connected();
  void ReadyRead();
  void Closed();
  void Failed(const QString& reason);

 private:
  enum class State { Idle, Connecting, Connected, Done };

  void OnWritable();
  void OnReadable();
  void FinishConnect();
  QString Flush();  // empty, or why the stream failed
  void Fail(const QString& reason);
  void FailLater(const QString& reason);
  void DropNotifiers();

  int fd_ = -1;
  State state_ = State::Idle;
  UdpAddress peer_;
  QSocketNotifier* readNotifier_ = nullptr;
  QSocketNotifier* writeNotifier_ = nullptr;
  QByteArray outgoing_;
  QByteArray incoming_;
};

}  // namespace platform
