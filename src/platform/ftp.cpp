#include "platform/ftp.h"

#include <QDateTime>
#include <QUrl>
#include <string>

#include "platform/internet_errors.h"
#include "platform/internet_stream.h"

namespace platform {
namespace {

// A listing longer than this is not read on (nobody keeps that many files
// in one FTP directory; it would only fill the memory).
constexpr std::size_t kMaxListing = 64u << 20;

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

size_t Collect(char* data, size_t size, size_t count, void* target) {
  auto* text = static_cast<std::string*>(target);
  if (text->size() + size * count > kMaxListing) return 0;
  text->append(data, size * count);
  return size * count;
}

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

// "modify=20240131235959" or with fractions; seconds since 1970 UTC.
std::optional<std::int64_t> ParseModify(const QString& value) {
  QDateTime date = QDateTime::fromString(value.left(14), QStringLiteral("yyyyMMddHHmmss"));
  if (!date.isValid()) return std::nullopt;
  date.setTimeSpec(Qt::UTC);
  return date.toSecsSinceEpoch();
}

// The entry `name` of a machine-readable listing ("fact=value;...; name").
std::optional<FtpFileInfo> FindInListing(const std::string& listing, const QString& name) {
  // Lines end in CR LF, or in LF alone once the client has turned the ASCII
  // listing into local line ends.
  for (QString line : QString::fromUtf8(listing).split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    const int space = line.indexOf(u' ');
    if (space < 0 || line.mid(space + 1) != name) continue;
    FtpFileInfo info;
    bool isFile = true;
    for (const QString& fact : line.left(space).split(u';', Qt::SkipEmptyParts)) {
      const int eq = fact.indexOf(u'=');
      const QString key = fact.left(eq).toLower();
      const QString value = fact.mid(eq + 1);
      if (key == QStringLiteral("size")) info.size = value.toLongLong();
      else if (key == QStringLiteral("modify")) info.modified = ParseModify(value);
      else if (key == QStringLiteral("type")) isFile = value.compare(QStringLiteral("cdir"), Qt::CaseInsensitive) != 0 &&
                                                       value.compare(QStringLiteral("pdir"), Qt::CaseInsensitive) != 0;
    }
    if (isFile) return info;
  }
  return std::nullopt;
}

}  // namespace

FtpReader::FtpReader(std::unique_ptr<CurlStream> stream) : stream_(std::move(stream)) {}
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

int FtpConnection::Probe(const std::string& url, bool createDirectories) {
  CURL* easy = curl_easy_init();
  if (!easy) return CURLE_FAILED_INIT;
  ApplyLogin(easy, options_, login_);
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Discard);
  if (createDirectories) curl_easy_setopt(easy, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR));
  const CURLcode result = curl_easy_perform(easy);
  curl_easy_cleanup(easy);
  return result;
}

bool FtpConnection::SetCurrentDirectory(const QString& dir) {
  bool absolute = false;
  const QStringList segments = Resolve(dir, absolute);
  if (Probe(UrlOfSegments(segments, absolute, true), false) != CURLE_OK) return false;
  cwd_ = segments;
  cwdAbsolute_ = absolute;
  return true;
}

bool FtpConnection::CreateDirectory(const QString& dir) {
  bool absolute = false;
  const QStringList segments = Resolve(dir, absolute);
  return Probe(UrlOfSegments(segments, absolute, true), true) == CURLE_OK;
}

std::optional<FtpFileInfo> FtpConnection::FindFile(const QString& name) {
  CURL* easy = curl_easy_init();
  if (!easy) return std::nullopt;
  ApplyLogin(easy, options_, login_);
  const std::string url = UrlOf(QStringLiteral("./"));
  std::string listing;
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, "MLSD");
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &listing);
  CURLcode result = curl_easy_perform(easy);
  if (result == CURLE_OK) {
    curl_easy_cleanup(easy);
    return FindInListing(listing, name);
  }
  // A server without the machine-readable listing: ask for the file's size
  // and date instead.
  curl_easy_reset(easy);
  ApplyLogin(easy, options_, login_);
  const std::string fileUrl = UrlOf(name);
  curl_easy_setopt(easy, CURLOPT_URL, fileUrl.c_str());
  curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(easy, CURLOPT_FILETIME, 1L);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Discard);
  result = curl_easy_perform(easy);
  std::optional<FtpFileInfo> found;
  curl_off_t size = -1;
  curl_off_t time = -1;
  if (result == CURLE_OK && curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size) == CURLE_OK && size >= 0) {
    found = FtpFileInfo{static_cast<std::int64_t>(size), std::nullopt};
    if (curl_easy_getinfo(easy, CURLINFO_FILETIME_T, &time) == CURLE_OK && time >= 0) found->modified = time;
  }
  curl_easy_cleanup(easy);
  return found;
}

std::unique_ptr<FtpReader> FtpConnection::OpenRead(const QString& name) {
  InternetOptions options = options_;
  options.proxy.clear();
  auto stream = std::make_unique<CurlStream>(options, QString::fromStdString(UrlOf(name)));
  if (!stream->Usable()) return nullptr;
  ApplyLogin(stream->Easy(), options_, login_);
  curl_easy_setopt(stream->Easy(), CURLOPT_BUFFERSIZE, 100L * 1024L);
  stream->ReceiveBody();
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
  if (stream->Done() && result != CURLE_OK && !begun() && !brokeOff) return nullptr;
  return std::make_unique<FtpReader>(std::move(stream));
}

std::unique_ptr<FtpWriter> FtpConnection::OpenWrite(const QString& name) {
  InternetOptions options = options_;
  options.proxy.clear();
  auto stream = std::make_unique<CurlStream>(options, QString::fromStdString(UrlOf(name)));
  if (!stream->Usable()) return nullptr;
  ApplyLogin(stream->Easy(), options_, login_);
  curl_easy_setopt(stream->Easy(), CURLOPT_UPLOAD, 1L);
  stream->SendBody(-1);
  stream->RunUntil([&stream] { return stream->BodyAsked(); });
  if (stream->Done() && stream->Result() != CURLE_OK) return nullptr;
  return std::make_unique<FtpWriter>(std::move(stream));
}

}  // namespace platform
