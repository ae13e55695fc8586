// Runs one of the programs built beside the tests (ctest names the build
// directory in QUAVIK_TEST_BUILD_DIR; run by hand, the test program sits
// beside them) without a display, so a program that tried to open a window
// would abort instead of passing.
#pragma once
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProgramRun {
  int exitCode = -1;  // -1 when it crashed or did not end in time
  QByteArray out;
  QString errors;

  QString Text() const { return QString::fromUtf8(out); }
  QStringList Lines() const { return Text().split('\n', Qt::SkipEmptyParts); }
};

struct ProgramRunOptions {
  QString workingDir;                // empty: the test's own
  QProcessEnvironment extra;         // set on top of the test's environment
  int timeoutMs = 30000;
};

ProgramRun RunBuiltProgram(const QString& name, const QStringList& args, const ProgramRunOptions& options = {});

// The folder the programs were built into.
QString BuiltProgramDir();

// A loopback port of `socketType` (SOCK_STREAM or SOCK_DGRAM) that nobody
// uses at the moment: bound for a moment, then let go. -1 when none could be had.
int UnusedLoopbackPort(int socketType);
