#include "transfer/internal/transfer_protocols.h"

#include "transfer/internal/file_copy.h"
#include "transfer/internal/ftp_download.h"
#include "transfer/internal/ftp_upload.h"
#include "transfer/internal/http_download.h"
#include "transfer/internal/http_upload.h"
#include "transfer/internal/transfer_run.h"

namespace {

template <class Path>
std::unique_ptr<TransferPath> Make(TransferRunContext& context) {
  return std::make_unique<Path>(context);
}

const TransferProtocolRow kRows[] = {
    {wpHttp, &Make<HttpDownloadPath>, &RunSettings::DlgDwnload, true, TransferClip::Download},
    {wpFtp, &Make<FtpDownloadPath>, &RunSettings::DlgDwnload, true, TransferClip::Download},
    {wpFile, &Make<FileCopyPath>, &RunSettings::DlgCopying, false, TransferClip::Copy},
    {wpFtpUpload, &Make<FtpUploadPath>, &RunSettings::DlgUpload, true, TransferClip::Upload},
    {wpHttpUpload, &Make<HttpUploadPath>, &RunSettings::DlgUpload, true, TransferClip::Upload},
};

}  // namespace

const TransferProtocolRow* ProtocolRow(TTransferProtocol protocol) {
  for (const TransferProtocolRow& row : kRows)
    if (row.protocol == protocol) return &row;
  return nullptr;
}
