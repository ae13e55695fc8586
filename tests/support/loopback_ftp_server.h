// A real FTP server on 127.0.0.1 for tests: the Python FTP server library run
// by the system's own interpreter (/usr/bin/python3) on a free port, serving
// a directory to "user"/"secret" (read and write) and to anonymous logins
// (read only), in active and passive mode. Names beginning with "hidden-"
// are left out of listings, "broken-" ones break off after 64 KiB, "slow-"
// ones are sent slowly. It stops in the destructor (and by itself when the
// test program ends).
// The Hostile form starts hostile_ftp_server.py instead: a server that
// misbehaves as its scenario (JSON, described in that script) says.
#pragma once
#include <QProcess>
#include <QString>

namespace testing_support {

class LoopbackFtpServer {
 public:
  explicit LoopbackFtpServer(const QString& root);
  struct Hostile {
    QString scenario;
  };
  explicit LoopbackFtpServer(const Hostile& hostile);
  ~LoopbackFtpServer();
  LoopbackFtpServer(const LoopbackFtpServer&) = delete;
  LoopbackFtpServer& operator=(const LoopbackFtpServer&) = delete;

  // False when the server could not be started; Problem() says why.
  bool Running() const { return port_ > 0; }
  const QString& Problem() const { return problem_; }
  int Port() const { return port_; }

  static constexpr const char* kUser = "user";
  static constexpr const char* kPassword = "secret";

 private:
  void Start(const QString& script, const QString& argument);

  QProcess process_;
  int port_ = 0;
  QString problem_;
};

}  // namespace testing_support
