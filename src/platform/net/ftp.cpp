#include "platform/net/ftp.h"

#include <QByteArray>
#include <QUrl>
#include <string>

#include "platform/net/ftp_listing.h"
#include "platform/net/ftp_replies.h"
#include "platform/net/internet_errors.h"
#include "platform/net/internet_stream.h"

namespace platform {
namespace {

// A listing longer than this is not read on: no FTP directory holds that
// many files, and a server that sends without end would keep us for ever.
constexpr std::int64_t kMaxListing = 256 << 20;

void ApplyLogin(CURL* easy, const InternetOptions& options, const FtpLogin& login) {
  if (!login.user.isEmpty() && !login.password.isEmpty()) {
    curl_easy_setopt(easy, CURLOPT_USERNAME, login.user.toUtf8().constData());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, login.password.toUtf8().constData());
  }
  // "-": the data connection comes back to the address of the control one.
  curl_easy_setopt(easy, CURLOPT_FTPPORT, login.passive ? nullptr : "-");
  curl_easy_setopt(easy, CURLOPT_PROXY, "");
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
  curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
  curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>((options.stallTimeoutMs + 999) / 1000));
}

FtpFailure FailureOf(CURLcode result) {
  switch (result) {
    case CURLE_OK:
      return FtpFailure::kNone;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_UPLOAD_FAILED:
      return FtpFailure::kRefused;
    default:
      return FtpFailure::kConnection;
  }
}

bool Fail(FtpFailure* why, CURLcode result) {
  if (why) *why = FailureOf(result);
  return false;
}


}  // namespace

FtpReader::FtpReader(std::unique_ptr<CurlStream> stream, std::shared_ptr<const std::optional<std::int64_t>> announced)
    : stream_(std::move(stream)), announced_(std::move(announced)) {}
FtpReader::~FtpReader() = default;

std::int64_t FtpReader::ReadInPlace(std::int64_t size, const char*& data) { return stream_->ReadInPlace(size, data); }

FtpWriter::FtpWriter(std::unique_ptr<CurlStream> stream) : stream_(std::move(stream)) {}
FtpWriter::~FtpWriter() = default;

bool FtpWriter::Write(const char* data, std::int64_t size) { return stream_->Send(data, size); }

bool FtpWriter::End() { return stream_->FinishSending(); }

std::unique_ptr<FtpConnection> FtpConnection::Connect(const InternetOptions& options, const FtpLogin& login,
                                                      InternetError* error) {
  std::unique_ptr<FtpConnection> connection(new FtpConnection(options, login));
  const int result = connection->Probe(connection->UrlOf(QString()), false);
  if (result == CURLE_OK) return connection;
  if (error) *error = InternetErrorOf(static_cast<CURLcode>(result));
  return nullptr;
}

QStringList FtpConnection::Resolve(const QString& path, bool& absolute) const {
  absolute = path.startsWith(u'/') || (path.isEmpty() && cwdAbsolute_);
  QStringList segments = path.startsWith(u'/') ? QStringList() : cwd_;
  for (const QString& part : path.split(u'/', Qt::SkipEmptyParts))
    if (part != QStringLiteral(".")) segments << part;
  return segments;
}

std::string FtpConnection::UrlOfSegments(const QStringList& segments, bool absolute, bool directory) const {
  QString host = login_.host;
  if (host.contains(u':') && !host.startsWith(u'[')) host = u'[' + host + u']';
  std::string url = "ftp://" + host.toStdString() + ':' + std::to_string(login_.port & 0xFFFF) + '/';
  if (absolute) url += "%2F/";
  for (int i = 0; i < segments.size(); ++i) {
    url += QUrl::toPercentEncoding(segments[i]).toStdString();
    if (i + 1 < segments.size() || directory) url += '/';
  }
  return url;
}

std::string FtpConnection::UrlOf(const QString& path) const {
  bool absolute = false;
  const QStringList segments = Resolve(path, absolute);
  return UrlOfSegments(segments, absolute, path.isEmpty() || path.endsWith(u'/'));
}

QString FtpConnection::CurrentDirectory() const { return (cwdAbsolute_ ? QStringLiteral("/") : QString()) + cwd_.join(u'/'); }

std::unique_ptr<CurlStream> FtpConnection::Stream(const std::string& url) const {
  InternetOptions options = options_;
  options.proxy.clear();
  auto stream = std::make_unique<CurlStream>(options, QString::fromStdString(url));
  if (stream->Usable()) ApplyLogin(stream->Easy(), options_, login_);
  return stream;
}

int FtpConnection::Probe(const std::string& url, bool createDirectories) {
  const std::unique_ptr<CurlStream> stream = Stream(url);
  if (!stream->Usable()) return stream->Result();
  curl_easy_setopt(stream->Easy(), CURLOPT_NOBODY, 1L);
  if (createDirectories)
    curl_easy_setopt(stream->Easy(), CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR));
  stream->RunUntil([] { return false; });
  return stream->Result();
}

bool FtpConnection::SetCurrentDirectory(const QString& dir, FtpFailure* why) {
  bool absolute = false;
  const QStringList segments = Resolve(dir, absolute);
  const int result = Probe(UrlOfSegments(segments, absolute, true), false);
  if (result != CURLE_OK) return Fail(why, static_cast<CURLcode>(result));
  cwd_ = segments;
  cwdAbsolute_ = absolute;
  return true;
}

bool FtpConnection::CreateDirectory(const QString& dir) {
  bool absolute = false;
  const QStringList segments = Resolve(dir, absolute);
  return Probe(UrlOfSegments(segments, absolute, true), true) == CURLE_OK;
}

std::optional<FtpLookup> FtpConnection::SearchListing(const QString& name) {
  const std::unique_ptr<CurlStream> stream = Stream(UrlOf(QStringLiteral("./")));
  if (!stream->Usable()) return FtpLookup{FailureOf(stream->Result()), std::nullopt};
  curl_easy_setopt(stream->Easy(), CURLOPT_CUSTOMREQUEST, "MLSD");
  stream->ReceiveBody();
  FtpListingSearch search(name.toStdString());
  std::int64_t total = 0;
  const char* data = nullptr;
  std::int64_t got = 0;
  while ((got = stream->ReadInPlace(1 << 20, data)) > 0) {
    search.Feed(std::string_view(data, static_cast<std::size_t>(got)));
    total += got;
    if (total > kMaxListing) return std::nullopt;
  }
  const FtpFailure failure = got < 0 ? FailureOf(stream->Result()) : FtpFailure::kNone;
  // Refused: a server without the machine-readable listing.
  if (failure == FtpFailure::kRefused) return std::nullopt;
  if (failure != FtpFailure::kNone) return FtpLookup{failure, std::nullopt};
  const std::optional<FtpListEntry> entry = search.Finish();
  if (!entry) return FtpLookup{};
  return FtpLookup{FtpFailure::kNone, FtpFileInfo{entry->size, entry->modified}};
}

FtpLookup FtpConnection::FindFile(const QString& name) {
  if (std::optional<FtpLookup> listed = SearchListing(name)) return *listed;
  // No usable listing: ask for the file's size and date instead, in the
  // current directory once the client has changed into it.
  const QByteArray bytes = name.toUtf8();
  if (bytes.isEmpty() || bytes.contains('\r') || bytes.contains('\n')) return FtpLookup{};
  const std::unique_ptr<CurlStream> stream = Stream(UrlOf(QStringLiteral("./")));
  if (!stream->Usable()) return FtpLookup{FailureOf(stream->Result()), std::nullopt};
  // "*": the server may refuse either without failing the exchange.
  curl_slist* questions = curl_slist_append(nullptr, ("*SIZE " + bytes).constData());
  questions = curl_slist_append(questions, ("*MDTM " + bytes).constData());
  curl_easy_setopt(stream->Easy(), CURLOPT_NOBODY, 1L);
  curl_easy_setopt(stream->Easy(), CURLOPT_POSTQUOTE, questions);
  // The last two answers are those to the two questions.
  std::string answers[2];
  stream->WatchHeaderLines([&answers](std::string_view line) {
    if (!FinalReply(line)) return;
    answers[0] = std::move(answers[1]);
    answers[1].assign(line);
  });
  stream->RunUntil([] { return false; });
  stream->WatchHeaderLines(nullptr);
  curl_easy_setopt(stream->Easy(), CURLOPT_POSTQUOTE, nullptr);
  curl_slist_free_all(questions);
  const FtpFailure failure = FailureOf(stream->Result());
  if (failure == FtpFailure::kRefused) return FtpLookup{};  // no such folder
  if (failure != FtpFailure::kNone) return FtpLookup{failure, std::nullopt};
  const std::optional<FtpReply> size = FinalReply(answers[0]);
  const std::optional<FtpReply> date = FinalReply(answers[1]);
  const bool sized = size && size->code == 213;
  const bool dated = date && date->code == 213;
  if (!sized && !dated) return FtpLookup{};
  FtpFileInfo info;
  if (sized) info.size = ReplyByteCount(size->text);
  if (dated) info.modified = ParseFtpTime(date->text);
  return FtpLookup{FtpFailure::kNone, info};
}

std::unique_ptr<FtpReader> FtpConnection::OpenRead(const QString& name, FtpFailure* why) {
  std::unique_ptr<CurlStream> stream = Stream(UrlOf(name));
  if (!stream->Usable()) {
    Fail(why, stream->Result());
    return nullptr;
  }
  curl_easy_setopt(stream->Easy(), CURLOPT_BUFFERSIZE, 100L * 1024L);
  // Every byte the server sends is read, whatever size it gave: the caller
  // compares the count with the sizes announced.
  curl_easy_setopt(stream->Easy(), CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  stream->ReceiveBody();
  // Every size the server announces on the way; two that disagree are as
  // good as none that is right.
  auto announced = std::make_shared<std::optional<std::int64_t>>();
  stream->WatchHeaderLines([announced](std::string_view line) {
    const std::optional<std::int64_t> size = AnnouncedSize(line);
    if (!size) return;
    *announced = (*announced && **announced != *size) ? -1 : *size;
  });
  // Open once the server has begun to send the file (125 or 150), or has
  // sent some or all of it already: a file that breaks off at once was
  // opened all the same, and its reader reports the break.
  CURL* easy = stream->Easy();
  const auto begun = [easy] {
    long code = 0;
    curl_off_t received = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
    curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &received);
    return code == 125 || code == 150 || received > 0;
  };
  stream->RunUntil(begun);
  // These end a transfer the server had agreed to (its 150 came first); in
  // active mode the break can come while we still wait for its connection.
  const CURLcode result = stream->Result();
  const bool brokeOff =
      result == CURLE_PARTIAL_FILE || result == CURLE_FTP_ACCEPT_FAILED || result == CURLE_FTP_ACCEPT_TIMEOUT;
  if (stream->Done() && result != CURLE_OK && !begun() && !brokeOff) {
    Fail(why, result);
    return nullptr;
  }
  return std::make_unique<FtpReader>(std::move(stream), std::move(announced));
}

std::unique_ptr<FtpWriter> FtpConnection::OpenWrite(const QString& name, FtpFailure* why) {
  std::unique_ptr<CurlStream> stream = Stream(UrlOf(name));
  if (!stream->Usable()) {
    Fail(why, stream->Result());
    return nullptr;
  }
  curl_easy_setopt(stream->Easy(), CURLOPT_UPLOAD, 1L);
  stream->SendBody(-1);
  stream->RunUntil([&stream] { return stream->BodyAsked(); });
  if (stream->Done() && stream->Result() != CURLE_OK) {
    Fail(why, stream->Result());
    return nullptr;
  }
  return std::make_unique<FtpWriter>(std::move(stream));
}

}  // namespace platform
