// The upload of a wpHttpUpload item: the local file TargetDir/TargetFilename
// (or the URL's file name) sent as the body of a POST or PUT to the URL's
// host and port, announced with its length and streamed block by block.
// Failures to start or to send are reported with the internet error code and
// text; the server's answer is not read. Success is every byte sent.
// Blocks are 4096 bytes while anyone watches the progress, larger otherwise.
#pragma once
#include "transfer/internal/transfer_path.h"

class HttpUploadPath : public TransferPath {
 public:
  explicit HttpUploadPath(TransferRunContext& context) : context_(context) {}
  bool Copy(const TFileTransferItem& item, WorkingDate& workingDate, bool& notNewer) override;

 private:
  TransferRunContext& context_;
};

// "http://" + host without port + ":" + port (80 when none) + path, from a
// url's host text and path; the credentials are left out.
QString UploadRequestURL(const QString& url);
