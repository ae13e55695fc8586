// FTP client of the internet layer: the stand-in for the system's FTP calls.
// A connection remembers the server, the login and the current directory;
// each operation is one exchange with the server (on libcurl), so a
// directory change is checked with the server and then used for the paths
// of later operations. Remote paths are relative to the login directory
// unless they begin with "/"; names travel as UTF-8. Files move in binary
// (TYPE I). Environment proxies are not used for FTP. Everything blocks the
// calling thread, bounded by the session's time-outs; it belongs on a worker.
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/internet.h"

namespace platform {

struct FtpLogin {
  QString host;
  int port = 21;
  // Both must be given for a named login; otherwise the login is anonymous.
  QString user;
  QString password;
  // Passive data connections (the client connects); active ones otherwise.
  bool passive = false;
};

// A remote file as the directory listing shows it.
struct FtpFileInfo {
  std::int64_t size = 0;
  // Last change, seconds since 1970-01-01 UTC; empty when the server gave none.
  std::optional<std::int64_t> modified;
};

// A remote file opened for reading.
class FtpReader {
 public:
  explicit FtpReader(std::unique_ptr<CurlStream> stream);
  ~FtpReader();
  // Up to `size` bytes: the count (> 0), 0 at the regular end, -1 when the
  // file can't be read on (connection lost, stalled, shorter than announced).
  // `data` points at the bytes, valid until the next read.
  std::int64_t ReadInPlace(std::int64_t size, const char*& data);

 private:
  std::unique_ptr<CurlStream> stream_;
};

// A remote file opened for writing.
class FtpWriter {
 public:
  explicit FtpWriter(std::unique_ptr<CurlStream> stream);
  ~FtpWriter();
  bool Write(const char* data, std::int64_t size);
  // Ends the file and waits for the server to confirm it.
  bool End();

 private:
  std::unique_ptr<CurlStream> stream_;
};

class FtpConnection {
 public:
  // Logs in. Null when the server can't be reached or refuses the login;
  // `error` (when given) then says why.
  static std::unique_ptr<FtpConnection> Connect(const InternetOptions& options, const FtpLogin& login,
                                                InternetError* error = nullptr);

  // Makes `dir` (relative to the current directory, or absolute) current
  // when the server can change into it.
  bool SetCurrentDirectory(const QString& dir);
  // Creates `dir` (relative to the current directory, or absolute) with its
  // missing parents; true when it exists afterwards.
  bool CreateDirectory(const QString& dir);
  // Looks `name` up in the current directory's listing.
  std::optional<FtpFileInfo> FindFile(const QString& name);
  // Opens `name` in the current directory; null when the server refuses.
  std::unique_ptr<FtpReader> OpenRead(const QString& name);
  std::unique_ptr<FtpWriter> OpenWrite(const QString& name);

  // The current directory, "/"-separated; empty for the login directory.
  QString CurrentDirectory() const;

 private:
  FtpConnection(InternetOptions options, FtpLogin login) : options_(std::move(options)), login_(std::move(login)) {}
  // The URL of `path` below the current directory (a directory when `path`
  // ends with "/").
  std::string UrlOf(const QString& path) const;
  QStringList Resolve(const QString& path, bool& absolute) const;
  std::string UrlOfSegments(const QStringList& segments, bool absolute, bool directory) const;
  // One exchange without a transfer; the libcurl result.
  int Probe(const std::string& url, bool createDirectories);

  InternetOptions options_;
  FtpLogin login_;
  QStringList cwd_;
  bool cwdAbsolute_ = false;
};

}  // namespace platform
