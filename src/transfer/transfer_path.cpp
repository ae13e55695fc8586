#include "transfer/transfer_path.h"

#include "transfer/http_download.h"
#include "transfer/http_upload.h"
#include "transfer/transfer_run.h"

std::unique_ptr<TransferPath> PathFor(TTransferProtocol protocol, TransferRunContext& context) {
  switch (protocol) {
    case wpHttp:
      return std::make_unique<HttpDownloadPath>(context);
    case wpHttpUpload:
      return std::make_unique<HttpUploadPath>(context);
    default:
      return nullptr;
  }
}

QString CaptionWordFor(TTransferProtocol protocol, const RunSettings& s) {
  switch (protocol) {
    case wpFile:
      return s.DlgCopying;
    case wpFtpUpload:
    case wpHttpUpload:
      return s.DlgUpload;
    default:
      return s.DlgDwnload;
  }
}
