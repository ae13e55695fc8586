#include "transfer/http_upload.h"

#include <QFileInfo>
#include <vector>

#include "platform/internet.h"
#include "transfer/local_file.h"
#include "transfer/transfer_context.h"
#include "transfer/url_routines.h"

namespace {
constexpr std::int64_t kBlock = 4096;
// Unobserved, the file goes out in larger pieces.
constexpr std::int64_t kUnobservedBlock = 1 << 20;
}

QString UploadRequestURL(const QString& url) {
  const QString host = HostOfURL(url);
  QString name = host;
  QString port = QStringLiteral("80");
  const int bracket = host.lastIndexOf(u']');  // [v6 address]:port
  const int colon = host.lastIndexOf(u':');
  if (colon > bracket) {
    name = host.left(colon);
    if (colon + 1 < host.size()) port = host.mid(colon + 1);
  }
  QString path = PathOfURL(url);
  if (!path.startsWith(u'/')) path = QStringLiteral("/");
  return QStringLiteral("http://") + name + u':' + port + path;
}

bool HttpUploadPath::Copy(const TFileTransferItem& item, TDateTime&, bool&) {
  const RunSettings& s = context_.Settings();
  const QString fileName = FileNameOfURL(item.URL);
  const QString url = AddProxyCredentials(item.URL, s.ProxyUserID, s.ProxyPassword);
  const QString host = HostOfURL(url);
  context_.SetFileLine(fileName, s.DlgToServerLabel, host);
  const QString source = JoinPath(item.TargetDir, item.TargetFilename.isEmpty() ? fileName : item.TargetFilename);
  if (!QFileInfo(source).isFile()) return false;

  platform::InternetSession* session = context_.Session();
  const QString verb = item.HTTPCommand == hcPut ? QStringLiteral("PUT") : QStringLiteral("POST");
  std::unique_ptr<platform::HttpUpload> request = session ? session->OpenUpload(verb, UploadRequestURL(url)) : nullptr;
  if (!request) {
    context_.Error(6, QStringLiteral("Cannot connect to server ") + host);
    return false;
  }
  LocalFile file;
  if (!file.OpenRead(source)) return false;
  const std::int64_t size = file.Size();
  if (size < 0) return false;
  const auto reportFailure = [&] { context_.Error(request->LastError().code, request->LastError().message); };
  if (!request->Start(size)) {
    reportFailure();
    return false;
  }

  const std::int64_t start = TransferRunContext::NowMs();
  const std::int64_t blockSize = context_.ProgressObserved() ? kBlock : kUnobservedBlock;
  std::vector<char> buffer(static_cast<std::size_t>(blockSize));
  std::int64_t done = 0;
  std::int64_t got = 0;
  do {
    got = file.Read(buffer.data(), blockSize);
    if (got < 0) return false;  // the local source broke off
    if (!request->Write(buffer.data(), got)) {
      reportFailure();
      return false;
    }
    done += got;
    context_.Progress(done, size, start, s.DlgUpload);
  } while (got == blockSize && !context_.Cancelled());

  if (context_.Cancelled() || done != size) return false;
  if (!request->End()) reportFailure();
  return true;
}
