// Runs GLib's `gio` command-line tool once and reports how it ended.
// The program is looked up on the PATH by name (an absolute path is taken
// as it is); its standard error is merged into its output. The call blocks
// the calling thread and runs no event loop: at most `timeoutMs` for the
// start, `timeoutMs` for the run and one more second to reap a program that
// overran and was killed. It belongs on a worker thread.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

struct GioOutcome {
  bool ok = false;  // started, ended normally, exit code 0
  // What gio wrote (trimmed), or why it didn't run: "gio not found",
  // the start failure, "gio did not answer in time". Meant for the user.
  QString message;
};

// `<gio> <args>`; `answers` goes to its standard input, which is then
// closed, so a question without an answer ends gio instead of waiting.
GioOutcome RunGio(const QString& gio, const QStringList& args, int timeoutMs,
                  const QByteArray& answers = {});

}  // namespace platform
