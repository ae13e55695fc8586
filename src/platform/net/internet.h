// Internet client: the program's stand-in for the system's internet library.
// A session carries what every connection of a transfer run shares (agent
// name, proxy, time-outs) and opens requests:
//   - OpenUrl: a GET that bypasses every cache, answering status, length,
//     Last-Modified and a body read pull-style in blocks of the caller's size;
//   - OpenUpload: a POST or PUT whose body the caller streams in blocks after
//     announcing its length.
// Nothing is held whole in memory. Names under the reserved ".invalid" domain
// never resolve and never reach a name server. Further protocols (FTP) are
// meant to join as further Open... calls of the session on the same engine.
#pragma once
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/net/internet_error.h"
#include "platform/net/internet_options.h"

namespace platform {

class CurlStream;

// The answer to a GET, its body read on demand.
class HttpResponse {
 public:
  explicit HttpResponse(std::unique_ptr<CurlStream> stream);
  ~HttpResponse();
  // The final status after redirects.
  int Status() const;
  // Content-Length of the answer; 0 when the server gave none.
  std::int64_t ContentLength() const;
  // Last-Modified as seconds since 1970-01-01 UTC; empty when absent.
  std::optional<std::int64_t> LastModified() const;
  // Up to `size` bytes of the body: the count (> 0), 0 at its regular end, or
  // -1 when the body can't be read on (connection lost, body shorter than
  // announced, stalled).
  std::int64_t Read(char* buffer, std::int64_t size);
  // As Read without a copy: `data` points at the bytes, valid until the
  // next read.
  std::int64_t ReadInPlace(std::int64_t size, const char*& data);

 private:
  std::unique_ptr<CurlStream> stream_;
};

// A request whose body is sent in pieces; the server's answer is not read.
class HttpUpload {
 public:
  explicit HttpUpload(std::unique_ptr<CurlStream> stream);
  ~HttpUpload();
  // Connects and sends the request head announcing `length` body bytes.
  bool Start(std::int64_t length);
  // Sends the next piece; an empty piece is allowed and sends nothing.
  bool Write(const char* data, std::int64_t size);
  // Ends the request once the body is complete and waits for the answer.
  bool End();
  // Why the last Start, Write or End failed.
  const InternetError& LastError() const { return error_; }

 private:
  bool Fail();
  std::unique_ptr<CurlStream> stream_;
  InternetError error_;
};

class InternetSession {
 public:
  explicit InternetSession(InternetOptions options = {});
  const InternetOptions& Options() const { return options_; }
  // Opens `url` for a GET that ignores cached copies, following up to 10
  // redirects to http or https targets. Null when no final answer can be had
  // (unknown host, refused or timed-out connection, malformed URL, also at
  // the end of a redirect). Blanks and the like are sent encoded
  // (url_canonical.h).
  std::unique_ptr<HttpResponse> OpenUrl(const QString& url) const;
  // Prepares a "POST" or "PUT" of `url`. Null when no request can be formed.
  std::unique_ptr<HttpUpload> OpenUpload(const QString& method, const QString& url) const;

 private:
  InternetOptions options_;
};

}  // namespace platform
