#include "cli/find_player_command.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <cstdio>

#include "cli/find_player_arguments.h"
#include "cli/finder_run.h"
#include "master/master_defaults.h"
#include "platform/os/paths.h"

namespace {

void WriteOut(const QByteArray& bytes) {
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
  std::fflush(stdout);
}

void WriteLine(const QString& text) { std::fprintf(stderr, "quavik: %s\n", text.toUtf8().constData()); }

}  // namespace

int RunFindPlayerCommandLine(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QStringList arguments = application.arguments();
  arguments.removeFirst();
  const ParsedFinderArguments parsed = ParseFinderArguments(arguments);
  if (!parsed.command) {
    WriteLine(parsed.error);
    return 2;
  }
  // The same settings file and cache folder the window uses.
  const platform::AppPaths paths =
      platform::AppPaths::FromApplication(QStringLiteral("quavik"), QStringLiteral("de.quavik.Quavik.desktop"));
  const QString iniPath = platform::JoinDir(paths.SettingsDir(), QStringLiteral("quavik.ini"));
  const master::ChosenMasters chosen = master::ChooseMasters(
      parsed.command->game, parsed.command->masters, master::ReadMastersSetting(iniPath, parsed.command->game));
  for (const QString& warning : chosen.warnings) WriteLine(warning);
  QStringList keyWarnings;
  master::Ut2004Credentials credentials = master::ReadUt2004Credentials(iniPath, &keyWarnings);
  for (const QString& warning : keyWarnings) WriteLine(warning);

  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  FinderEnvironment environment;
  environment.cacheDir = paths.TempDir();
  environment.masters = chosen.masters;
  environment.ut2004Credentials = credentials;
  environment.out = WriteOut;
  bool progressShown = false;
  environment.warn = [&progressShown](const QString& text) {
    if (progressShown) std::fputs("\r\033[K", stderr);
    progressShown = false;
    WriteLine(text);
  };
  if (terminal) {
    // A thousand answers in a few seconds: the line is redrawn at most ten
    // times a second; clearing it is never held back.
    QElapsedTimer sinceDrawn;
    environment.progress = [&progressShown, sinceDrawn](const QString& line) mutable {
      if (!line.isEmpty() && sinceDrawn.isValid() && sinceDrawn.elapsed() < 100) return;
      sinceDrawn.start();
      std::fprintf(stderr, "\r\033[K%s", line.toUtf8().constData());
      std::fflush(stderr);
      progressShown = !line.isEmpty();
    };
  }
  environment.nowMs = [] { return QDateTime::currentMSecsSinceEpoch(); };

  int exitCode = 3;
  FinderRun run(*parsed.command, environment);
  QObject::connect(&run, &FinderRun::Finished, &application, [&](int code) {
    exitCode = code;
    application.quit();
  });
  run.Start();
  application.exec();
  return exitCode;
}
