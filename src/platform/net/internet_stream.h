// One libcurl transfer driven pull-style through a private multi handle: the
// owner asks for body bytes or hands over bytes to send, and the stream runs
// the transfer just as far as needed. Received bytes wait in a buffer that is
// refilled only once drained, so memory stays bounded by what one pass of
// the transfer delivers. A transfer that moves nothing for the stall limit,
// or less than the low speed over the last stall period spent waiting for it
// (a trickle), ends with CURLE_OPERATION_TIMEDOUT.
#pragma once
#include <curl/curl.h>

#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "platform/net/internet_options.h"

namespace platform {

class CurlStream {
 public:
  CurlStream(const InternetOptions& options, const QString& url);
  ~CurlStream();
  CurlStream(const CurlStream&) = delete;
  CurlStream& operator=(const CurlStream&) = delete;

  CURL* Easy() const { return easy_; }
  // False when the URL can't form a request (malformed, or a name that must
  // not be resolved); Result() then says why.
  bool Usable() const { return result_ == CURLE_OK || !done_; }

  // Receiving: keeps the body in the buffer.
  void ReceiveBody();
  // Sending: the body comes from Send(); `length` is announced in advance.
  void SendBody(std::int64_t length);

  // Shows `watch` every line of the answers' heads as it arrives (for FTP:
  // every line of the server's control answers).
  void WatchHeaderLines(std::function<void(std::string_view)> watch) { watchHeaders_ = std::move(watch); }

  // Runs the transfer until `enough` holds or it is over.
  void RunUntil(const std::function<bool()>& enough);

  bool Done() const { return done_; }
  CURLcode Result() const { return result_; }
  bool HeadersDone() const { return headersDone_; }
  bool GotStatus() const { return gotStatus_; }
  bool BodyAsked() const { return bodyAsked_; }

  // Pull side: copies up to `size` buffered bytes, running the transfer when
  // the buffer is empty. Same result convention as HttpResponse::Read.
  std::int64_t Read(char* buffer, std::int64_t size);
  // As Read, but points `data` at the bytes inside the buffer instead of
  // copying them; they stay valid until the next read.
  std::int64_t ReadInPlace(std::int64_t size, const char*& data);
  // Push side: queues bytes and runs until curl has taken them.
  bool Send(const char* data, std::int64_t size);
  // Push side: marks the end of the body and runs the transfer to its end.
  bool FinishSending();

 private:
  static size_t OnWrite(char* data, size_t size, size_t count, void* self);
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnRead(char* data, size_t size, size_t count, void* self);
  static size_t OnDiscard(char* data, size_t size, size_t count, void* self);
  void Start();
  void CollectResult();

  InternetOptions options_;
  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  std::string urlBytes_;
  bool started_ = false;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
  std::uint64_t activity_ = 0;  // counts callbacks, for stall detection
  // The low-speed check: time spent running the transfer, bytes moved, and
  // both as they were at the start of each of the last few slices of a
  // stall period.
  bool TooSlow();
  std::int64_t runMs_ = 0;
  std::uint64_t movedBytes_ = 0;
  std::deque<std::pair<std::int64_t, std::uint64_t>> samples_{{0, 0}};
  std::function<void(std::string_view)> watchHeaders_;

  // receiving
  std::string received_;
  std::size_t receivedOffset_ = 0;
  bool headersDone_ = false;
  bool gotStatus_ = false;
  bool locationSeen_ = false;
  bool receivePaused_ = false;

  // sending
  std::string pending_;
  std::size_t pendingOffset_ = 0;
  bool sendEnded_ = false;
  bool paused_ = false;
  bool bodyAsked_ = false;
};

}  // namespace platform
