// Test stand-in for the shell: records every call, starts nothing.
#pragma once
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/os/shell.h"

namespace testing_support {

struct ShellCall {
  QString kind;  // "open" or "start"
  QString target;  // document/URL or program
  QStringList arguments;
  QString workingDirectory;
  bool maximised = false;
};

class RecordingShell : public platform::Shell {
 public:
  void OpenDocument(const QString& target) override { calls.push_back({"open", target, {}, {}, false}); }
  void StartProgram(const QString& program, const QStringList& arguments,
                    const QString& workingDirectory, bool maximised) override {
    calls.push_back({"start", program, arguments, workingDirectory, maximised});
  }
  std::vector<ShellCall> calls;
};

}  // namespace testing_support
