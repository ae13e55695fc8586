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

#include "platform/net/internet.h"

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
  // Empty when the server gave none; -1 when what it gave is no byte count.
  std::optional<std::int64_t> size;
  // Last change, seconds since 1970-01-01 UTC; empty when the server gave none.
  std::optional<std::int64_t> modified;
};

// Why an exchange with the server failed.
enum class FtpFailure {
  kNone,
  // The server said no: no such file or folder, or no permission.
  kRefused,
  // The server or a data connection could not be reached, broke off,
  // stalled, answered nonsense, or the session's abort flag was set.
  kConnection,
};

// The lookup of a name in a directory listing: `file` is empty when the
// listing has no such file, or when the listing failed (`failure`).
struct FtpLookup {
  FtpFailure failure = FtpFailure::kNone;
  std::optional<FtpFileInfo> file;
};

// A remote file opened for reading.
class FtpReader {
 public:
  FtpReader(std::unique_ptr<CurlStream> stream, std::shared_ptr<const std::optional<std::int64_t>> announced);
  ~FtpReader();
  // Up to `size` bytes: the count (> 0), 0 at the regular end, -1 when the
  // file can't be read on (connection lost, stalled, shorter than announced).
  // `data` points at the bytes, valid until the next read.
  std::int64_t ReadInPlace(std::int64_t size, const char*& data);
  // The size the server announced for the file so far (its SIZE answer, or
  // the one it gave when it began to send): empty when none; -1 when one
  // was no byte count or two disagreed.
  std::optional<std::int64_t> AnnouncedSize() const { return *announced_; }

 private:
  std::unique_ptr<CurlStream> stream_;
  std::shared_ptr<const std::optional<std::int64_t>> announced_;
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

  // Every exchange below is bounded by the session's time-outs, the
  // low-speed limit of its transfers and its abort flag; `why` (when given)
  // says why one failed.

  // Makes `dir` (relative to the current directory, or absolute) current
  // when the server can change into it.
  bool SetCurrentDirectory(const QString& dir, FtpFailure* why = nullptr);
  // Creates `dir` (relative to the current directory, or absolute) with its
  // missing parents; true when it exists afterwards.
  bool CreateDirectory(const QString& dir);
  // Looks `name` up in the current directory's listing, read as it arrives
  // and never kept whole; without a machine-readable listing, asks the
  // server for the file's size and date.
  FtpLookup FindFile(const QString& name);
  // Opens `name` in the current directory; null when that fails.
  std::unique_ptr<FtpReader> OpenRead(const QString& name, FtpFailure* why = nullptr);
  std::unique_ptr<FtpWriter> OpenWrite(const QString& name, FtpFailure* why = nullptr);

  // The current directory, "/"-separated; empty for the login directory.
  QString CurrentDirectory() const;

 private:
  FtpConnection(InternetOptions options, FtpLogin login) : options_(std::move(options)), login_(std::move(login)) {}
  // The URL of `path` below the current directory (a directory when `path`
  // ends with "/").
  std::string UrlOf(const QString& path) const;
  QStringList Resolve(const QString& path, bool& absolute) const;
  std::string UrlOfSegments(const QStringList& segments, bool absolute, bool directory) const;
  // A stream for `url` with the login applied.
  std::unique_ptr<CurlStream> Stream(const std::string& url) const;
  // One exchange without a transfer; the libcurl result.
  int Probe(const std::string& url, bool createDirectories);
  // The listing search; empty when the listing can't be had.
  std::optional<FtpLookup> SearchListing(const QString& name);

  InternetOptions options_;
  FtpLogin login_;
  QStringList cwd_;
  bool cwdAbsolute_ = false;
};

}  // namespace platform
