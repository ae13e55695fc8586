#include "platform/net/internet_stream.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>

#include "platform/text/cp1252.h"
#include "platform/net/url_canonical.h"

namespace platform {
namespace {

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Whether `url` can be requested at all. Host names under ".invalid" are
// reserved never to resolve; answering that here keeps every lookup of such
// a name on this machine.
CURLcode CheckUrl(const std::string& url) {
  CURLU* parsed = curl_url();
  CURLcode verdict = CURLE_URL_MALFORMAT;
  char* host = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK && host && *host) {
    std::string name(host);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    while (!name.empty() && name.back() == '.') name.pop_back();
    const bool invalid = name == "invalid" || name.ends_with(".invalid");
    verdict = invalid ? CURLE_COULDNT_RESOLVE_HOST : CURLE_OK;
  }
  curl_free(host);
  curl_url_cleanup(parsed);
  return verdict;
}

// Received bytes the reader has not taken yet, beyond which the transfer
// pauses.
constexpr std::size_t kReceiveAhead = 512 * 1024;

bool StartsWithNoCase(const char* data, std::size_t size, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  if (size < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(data[i])) != prefix[i]) return false;
  return true;
}

}  // namespace

CurlStream::CurlStream(const InternetOptions& options, const QString& url)
    : options_(options), urlBytes_(CanonicalUrl(ToCp1252(url))) {
  InitCurlOnce();
  easy_ = curl_easy_init();
  multi_ = curl_multi_init();
  if (!easy_ || !multi_) {
    done_ = true;
    result_ = CURLE_FAILED_INIT;
    return;
  }
  const std::string agent = options_.agent.toStdString();
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options_.connectTimeoutMs));
  curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, 256L * 1024L);
  if (!options_.proxy.isEmpty()) {
    const std::string proxy = options_.proxy.toStdString();
    curl_easy_setopt(easy_, CURLOPT_PROXY, proxy.c_str());
  }
  const CURLcode verdict = CheckUrl(urlBytes_);
  if (verdict != CURLE_OK || curl_easy_setopt(easy_, CURLOPT_URL, urlBytes_.c_str()) != CURLE_OK) {
    done_ = true;
    result_ = verdict != CURLE_OK ? verdict : CURLE_URL_MALFORMAT;
  }
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlStream::OnDiscard);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlStream::OnHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
}

CurlStream::~CurlStream() {
  if (started_) curl_multi_remove_handle(multi_, easy_);
  if (easy_) curl_easy_cleanup(easy_);
  if (multi_) curl_multi_cleanup(multi_);
}

void CurlStream::ReceiveBody() {
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlStream::OnWrite);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
}

void CurlStream::SendBody(std::int64_t length) {
  curl_easy_setopt(easy_, CURLOPT_READFUNCTION, &CurlStream::OnRead);
  curl_easy_setopt(easy_, CURLOPT_READDATA, this);
  curl_easy_setopt(easy_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(length));
  curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(length));
}

void CurlStream::Start() {
  started_ = true;
  if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
    done_ = true;
    result_ = CURLE_FAILED_INIT;
  }
}

void CurlStream::CollectResult() {
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy_) {
      done_ = true;
      result_ = msg->data.result;
    }
  }
}

void CurlStream::RunUntil(const std::function<bool()>& enough) {
  using Clock = std::chrono::steady_clock;
  if (!started_ && !done_) Start();
  auto lastActivity = Clock::now();
  auto lastTick = lastActivity;
  std::uint64_t seen = activity_;
  while (!done_ && !enough()) {
    if (options_.abort && options_.abort->load()) {
      done_ = true;
      result_ = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      done_ = true;
      result_ = CURLE_FAILED_INIT;
      break;
    }
    CollectResult();
    // Also the wait that brought the bytes counts as time spent on the
    // transfer: a trickle is made of such waits.
    const auto now = Clock::now();
    const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastTick);
    runMs_ += ran.count();
    lastTick += ran;  // what is short of a whole millisecond counts next time
    if (done_ || enough()) break;
    if (activity_ != seen) {
      seen = activity_;
      lastActivity = now;
    } else if (now - lastActivity > std::chrono::milliseconds(options_.stallTimeoutMs)) {
      done_ = true;
      result_ = CURLE_OPERATION_TIMEDOUT;
      break;
    }
    if (TooSlow()) {  // a trickle that never quite stops
      done_ = true;
      result_ = CURLE_OPERATION_TIMEDOUT;
      break;
    }
    curl_multi_poll(multi_, nullptr, 0, 100, nullptr);
  }
}

bool CurlStream::TooSlow() {
  // At least the low speed on average over the last stall period, told to
  // within an eighth of it.
  const std::int64_t period = options_.stallTimeoutMs;
  const std::int64_t slice = std::max<std::int64_t>(period / 8, 1);
  if (runMs_ - samples_.back().first >= slice) samples_.emplace_back(runMs_, movedBytes_);
  // The newest sample a whole period old marks where the period begins.
  while (samples_.size() > 1 && runMs_ - samples_[1].first >= period) samples_.pop_front();
  if (runMs_ - samples_.front().first < period) return false;
  const std::uint64_t minimumBytes =
      static_cast<std::uint64_t>(std::max<std::int64_t>(options_.lowSpeedBytesPerSecond * period / 1000, 1));
  return movedBytes_ - samples_.front().second < minimumBytes;
}

std::int64_t CurlStream::ReadInPlace(std::int64_t size, const char*& data) {
  if (receivedOffset_ == received_.size()) {
    received_.clear();
    receivedOffset_ = 0;
    if (receivePaused_) {
      receivePaused_ = false;
      curl_easy_pause(easy_, CURLPAUSE_CONT);  // may hand over the kept bytes at once
    }
    RunUntil([this] { return !received_.empty(); });
    if (received_.empty()) return result_ == CURLE_OK ? 0 : -1;
  }
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), received_.size() - receivedOffset_);
  data = received_.data() + receivedOffset_;
  receivedOffset_ += n;
  return static_cast<std::int64_t>(n);
}

std::int64_t CurlStream::Read(char* buffer, std::int64_t size) {
  const char* data = nullptr;
  const std::int64_t n = ReadInPlace(size, data);
  if (n > 0) std::memcpy(buffer, data, static_cast<std::size_t>(n));
  return n;
}

bool CurlStream::Send(const char* data, std::int64_t size) {
  if (size <= 0) return !done_ || result_ == CURLE_OK;
  if (done_) return false;  // the transfer ended before the body was complete
  pending_.assign(data, static_cast<std::size_t>(size));
  pendingOffset_ = 0;
  if (paused_) {
    paused_ = false;
    curl_easy_pause(easy_, CURLPAUSE_CONT);
  }
  RunUntil([this] { return pendingOffset_ == pending_.size(); });
  return pendingOffset_ == pending_.size() && (!done_ || result_ == CURLE_OK);
}

bool CurlStream::FinishSending() {
  sendEnded_ = true;
  if (paused_) {
    paused_ = false;
    curl_easy_pause(easy_, CURLPAUSE_CONT);
  }
  RunUntil([] { return false; });
  return result_ == CURLE_OK;
}

size_t CurlStream::OnWrite(char* data, size_t size, size_t count, void* self) {
  auto* stream = static_cast<CurlStream*>(self);
  // Enough waits already: the transfer pauses (curl keeps these bytes) until
  // the reader has taken it, so the buffer stays small and warm in the cache.
  if (stream->received_.size() - stream->receivedOffset_ >= kReceiveAhead) {
    stream->receivePaused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  stream->received_.append(data, size * count);
  ++stream->activity_;
  stream->movedBytes_ += size * count;
  return size * count;
}

size_t CurlStream::OnDiscard(char*, size_t size, size_t count, void*) { return size * count; }

// Marks the heads complete at the blank line of the final answer: an interim
// 1xx answer or a redirect that will be followed is not yet final.
size_t CurlStream::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto* stream = static_cast<CurlStream*>(self);
  const size_t n = size * count;
  ++stream->activity_;
  stream->movedBytes_ += n;
  if (stream->watchHeaders_) stream->watchHeaders_(std::string_view(data, n));
  if (StartsWithNoCase(data, n, "http/")) {
    stream->locationSeen_ = false;
  } else if (StartsWithNoCase(data, n, "location:")) {
    stream->locationSeen_ = true;
  } else if (n <= 2 && (n == 0 || data[0] == '\r' || data[0] == '\n')) {
    long status = 0;
    curl_easy_getinfo(stream->easy_, CURLINFO_RESPONSE_CODE, &status);
    if (status > 0) stream->gotStatus_ = true;
    const bool interim = status >= 100 && status < 200;
    const bool redirected = status >= 300 && status < 400 && stream->locationSeen_;
    if (status > 0 && !interim && !redirected) stream->headersDone_ = true;
  }
  return n;
}

size_t CurlStream::OnRead(char* data, size_t size, size_t count, void* self) {
  auto* stream = static_cast<CurlStream*>(self);
  stream->bodyAsked_ = true;
  const std::size_t left = stream->pending_.size() - stream->pendingOffset_;
  if (left == 0) {
    if (stream->sendEnded_) return 0;
    stream->paused_ = true;
    return CURL_READFUNC_PAUSE;
  }
  ++stream->activity_;
  const std::size_t n = std::min(left, size * count);
  stream->movedBytes_ += n;
  std::memcpy(data, stream->pending_.data() + stream->pendingOffset_, n);
  stream->pendingOffset_ += n;
  return n;
}

}  // namespace platform
