#include "transfer/internal/http_upload.h"

#include <QFileInfo>

#include "platform/net/internet.h"
#include "transfer/internal/block_send.h"
#include "transfer/internal/local_file.h"
#include "transfer/internal/transfer_context.h"
#include "transfer/url_routines.h"

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

bool HttpUploadPath::Copy(const TFileTransferItem& item, WorkingDate&, bool&) {
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
    context_.Error({TransferErrorCode::CannotConnect, QStringLiteral("Cannot connect to server ") + host});
    return false;
  }
  LocalFile file;
  if (!file.OpenRead(source)) return false;
  const std::int64_t size = file.Size();
  if (size < 0) return false;
  const auto reportFailure = [&] { context_.Error(TransferError::Numbered(request->LastError().code, request->LastError().message)); };
  if (!request->Start(size)) {
    reportFailure();
    return false;
  }

  const auto write = [&](const char* data, std::int64_t n) { return request->Write(data, n); };
  const BlockSendResult sent = SendInBlocks(context_, file, size, write);
  if (sent.outcome == BlockSend::WriteFailed) reportFailure();
  // A read failure (the local source broke off) and a file that changed
  // size on the way end the item without an event.
  if (sent.outcome != BlockSend::Sent || sent.bytes != size) return false;
  if (!request->End()) reportFailure();
  return true;
}
