// The command line of quavik-transfer: which item to copy, read from the
// program's arguments, and the run of that one item through TFileTransfer
// with one output line per event as it happens.
//
//   quavik-transfer [options] SOURCE
//     --protocol http|ftp|ftp-upload|file   (default: from SOURCE's scheme; a plain path is file)
//     --host H --port N --user U --password P --passive   (FTP server or share)
//     --target-dir DIR --target-name NAME
//     --newer-only        copy only when the source is newer than the target
//     --upload            HTTP upload of the local file SOURCE to --target-dir's URL
//     --dialog            show the progress dialog
//
// SOURCE (or, for an FTP upload, --target-dir) may be an
// ftp://[user[:password]@]host[:port]/path URL, which sets the host, port,
// login and remote path.
#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

#include "transfer/transfer_types.h"

struct TransferCommand {
  TTransferProtocol protocol = wpHttp;
  QString url;  // the item's URL: remote path, local source or address
  QString host;
  int port = 21;
  QString user;
  QString password;
  bool passive = false;
  QString targetDir;
  QString targetName;
  bool newerOnly = false;
  bool dialog = false;
};

struct ParsedArguments {
  std::optional<TransferCommand> command;
  bool help = false;
  QString error;  // why the arguments can't be used, when neither command nor help
};

// `arguments` without the program name.
ParsedArguments ParseTransferArguments(const QStringList& arguments);

// The usage text printed by --help.
QString TransferUsage();

// Copies the item on the running application's thread (an event loop runs
// until the run ends), writing one line per event to `out`:
//   start <n> <file> | overwrite <target> | error <code> <text> |
//   not-found <url> | no-new-file <file> <date> <date> | connect-error <host> |
//   cancelled | done <n> copied=<0|1>
// Returns 0 when the item was copied, 1 when not.
int RunTransferCommand(const TransferCommand& command, QTextStream& out);
