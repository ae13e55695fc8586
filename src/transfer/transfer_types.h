// Vocabulary of the transfer component: protocols, upload verbs, the date
// type, the progress dialog's picture, and the handler types of its events. Handlers are called on the
// user-interface thread; an empty handler is not called.
#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

// The ordinal is the stored value.
enum TTransferProtocol { wpHttp = 0, wpFtp = 1, wpFile = 2, wpFtpUpload = 3, wpHttpUpload = 4 };
enum TTransferHTTPCommand { hcPost = 0, hcPut = 1 };

// What the progress dialog's picture shows moving.
enum class TransferClip { Download, Upload, Copy };

// The component's own error codes, as OnError and OnErrorInfo carry them.
// A failed HTTP download passes the server's status (300 or more) in their
// place, a failed HTTP upload the internet layer's error code.
enum class TransferErrorCode : int {
  IdenticalFiles = 0,      // a copy's source and target are the same file
  CannotOpenSource = 1,    // the source can't be opened for reading
  ZeroLengthSource = 2,    // a copy's source is empty, or its length unknown
  CannotCreateTarget = 3,  // the target can't be created or replaced
  ReadError = 4,           // reading the source failed part way
  WriteError = 5,          // writing the target failed (a full disk)
  CannotConnect = 6,       // no connection to the server
};

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

using TTransferConnectError = std::function<void(QObject* Sender)>;
using TTransferCancel = std::function<void(QObject* Sender)>;
using TTransferThreadDone = std::function<void(QObject* Sender)>;
using TTransferOverwrite = std::function<void(QObject* Sender, const QString& tgtfile, bool& allow)>;
// Byte counts are 64-bit, so transfers beyond 2 GB report correctly.
using TTransferProgress =
    std::function<void(QObject* Sender, int fileidx, std::int64_t size, std::int64_t totsize)>;
using TTransferError = std::function<void(QObject* Sender, int ErrorCode)>;
using TTransferErrorInfo = std::function<void(QObject* Sender, int ErrorCode, const QString& ErrorInfo)>;
using TTransferFileDone = std::function<void(QObject* Sender, int idx)>;
using TTransferFileStart = std::function<void(QObject* Sender, int idx)>;
using TTransferURLNotFound = std::function<void(QObject* Sender, const QString& url)>;
using TTransferNoNewFile =
    std::function<void(QObject* Sender, const QString& tgtfile, TDateTime curdate, TDateTime newdate)>;
