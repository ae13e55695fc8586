#include "platform/net/internet.h"

#include "platform/net/internet_errors.h"
#include "platform/net/internet_stream.h"

namespace platform {

HttpResponse::HttpResponse(std::unique_ptr<CurlStream> stream) : stream_(std::move(stream)) {}
HttpResponse::~HttpResponse() = default;

int HttpResponse::Status() const {
  long status = 0;
  curl_easy_getinfo(stream_->Easy(), CURLINFO_RESPONSE_CODE, &status);
  return static_cast<int>(status);
}

std::int64_t HttpResponse::ContentLength() const {
  curl_off_t length = -1;
  curl_easy_getinfo(stream_->Easy(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  return length > 0 ? static_cast<std::int64_t>(length) : 0;
}

std::optional<std::int64_t> HttpResponse::LastModified() const {
  curl_off_t time = -1;
  curl_easy_getinfo(stream_->Easy(), CURLINFO_FILETIME_T, &time);
  if (time < 0) return std::nullopt;
  return static_cast<std::int64_t>(time);
}

std::int64_t HttpResponse::Read(char* buffer, std::int64_t size) { return stream_->Read(buffer, size); }

std::int64_t HttpResponse::ReadInPlace(std::int64_t size, const char*& data) {
  return stream_->ReadInPlace(size, data);
}

HttpUpload::HttpUpload(std::unique_ptr<CurlStream> stream) : stream_(std::move(stream)) {}
HttpUpload::~HttpUpload() = default;

bool HttpUpload::Fail() {
  error_ = InternetErrorOf(stream_->Result() == CURLE_OK ? CURLE_SEND_ERROR : stream_->Result());
  return false;
}

bool HttpUpload::Start(std::int64_t length) {
  stream_->SendBody(length);
  stream_->RunUntil([this] { return stream_->BodyAsked(); });
  if (stream_->Done() && stream_->Result() != CURLE_OK) return Fail();
  return true;
}

bool HttpUpload::Write(const char* data, std::int64_t size) {
  return stream_->Send(data, size) || Fail();
}

bool HttpUpload::End() { return stream_->FinishSending() || Fail(); }

InternetSession::InternetSession(InternetOptions options) : options_(std::move(options)) {}

std::unique_ptr<HttpResponse> InternetSession::OpenUrl(const QString& url) const {
  auto stream = std::make_unique<CurlStream>(options_, url);
  if (!stream->Usable()) return nullptr;
  CURL* easy = stream->Easy();
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FILETIME, 1L);
  // Reload from the origin: neither a cached copy nor a caching proxy answers.
  static curl_slist* const noCache =
      curl_slist_append(curl_slist_append(nullptr, "Cache-Control: no-cache"), "Pragma: no-cache");
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, noCache);
  stream->ReceiveBody();
  stream->RunUntil([&] { return stream->HeadersDone(); });
  // Redirects are followed here: a target that can't be reached (or a chain
  // too long, or a scheme other than http/https) leaves no final answer.
  if (!stream->HeadersDone()) return nullptr;
  return std::make_unique<HttpResponse>(std::move(stream));
}

std::unique_ptr<HttpUpload> InternetSession::OpenUpload(const QString& method, const QString& url) const {
  auto stream = std::make_unique<CurlStream>(options_, url);
  if (stream->Done() && stream->Result() == CURLE_URL_MALFORMAT) return nullptr;
  CURL* easy = stream->Easy();
  if (method == QStringLiteral("PUT")) {
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
  } else {
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
  }
  // The body goes out as announced: no waiting for "100 Continue", no
  // content type that nobody asked for.
  static curl_slist* const plain = curl_slist_append(curl_slist_append(nullptr, "Expect:"), "Content-Type:");
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, plain);
  return std::make_unique<HttpUpload>(std::move(stream));
}

}  // namespace platform
