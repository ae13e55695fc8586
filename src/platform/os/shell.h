// The shell: open a document or URL with its default application, and start a
// program with its parameters and working directory.
#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a URL or a document with its default application; the result is
  // not reported.
  virtual void OpenDocument(const QString& target) = 0;
  // Starts `program` with `arguments` as a real argv (no shell in between)
  // in `workingDirectory`. A Windows program (a file beginning with "MZ") is
  // started through `wine` when wine is on the PATH. A failed start is not
  // reported. `maximised` is a wish for the program's first window.
  virtual void StartProgram(const QString& program, const QStringList& arguments,
                            const QString& workingDirectory, bool maximised) = 0;
};

// What OpenDocument opens for `target`: an existing file or directory
// (also given relative to the working directory) or an absolute path as a
// local file, anything else as a web address ("www.clan.de" as http).
QUrl DocumentUrl(const QString& target);

class SystemShell : public Shell {
 public:
  void OpenDocument(const QString& target) override;
  void StartProgram(const QString& program, const QStringList& arguments,
                    const QString& workingDirectory, bool maximised) override;
};

}  // namespace platform
