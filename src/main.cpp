// Program entry: the real services, the guarded application and the program's windows.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <malloc.h>

#include "cli/find_player_command.h"
#include "cli/program_usage.h"
#include "cli/query_command.h"
#include "game/install_finder.h"
#include "platform/os/dialogs.h"
#include "platform/os/guarded_application.h"
#include "platform/os/paths.h"
#include "platform/os/shell.h"
#include "platform/os/waits.h"
#include "app/services.h"
#include "ui/program_windows.h"

namespace {

// Where the program's own files go; the menu entry tells an installed copy.
platform::AppPaths ProgramPaths() {
  return platform::AppPaths::FromApplication(QStringLiteral("quavik"), QStringLiteral("de.quavik.Quavik.desktop"));
}

// "quavik --find-games": every game install found, one per line, then exit.
int PrintFoundGames(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const platform::AppPaths paths = ProgramPaths();
  const std::vector<game::FoundInstall> installs = game::FindInstalls(paths.homeDir, paths.winePrefix);
  if (installs.empty()) {
    std::fprintf(stderr, "quavik: no game install found\n");
    return 1;
  }
  const QByteArray text = game::FoundInstallsText(installs).toLocal8Bit();
  std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
  return 0;
}

// Arguments the window start does not take: nothing of the window is made.
int AnswerWithoutWindow(const StartChoice& choice) {
  const QByteArray usage = QuavikUsage().toUtf8();
  if (choice.request == StartRequest::Help) {
    std::fwrite(usage.constData(), 1, size_t(usage.size()), stdout);
    return 0;
  }
  std::fprintf(stderr, "quavik: unknown option %s\n", choice.option.toLocal8Bit().constData());
  std::fwrite(usage.constData(), 1, size_t(usage.size()), stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // One malloc arena for every thread: the few worker threads (transfers,
  // the artwork's painters) would each keep an arena of their own whose
  // pages stay resident, pinned by a few long-lived allocations, for the
  // whole run. Nothing here allocates in parallel enough to need more.
  mallopt(M_ARENA_MAX, 1);
  if (argc > 1 && std::strcmp(argv[1], "--find-games") == 0) return PrintFoundGames(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--query") == 0) return RunQueryCommandLine(argc, argv);
  if (argc > 1 && (std::strcmp(argv[1], "--find-player") == 0 || std::strcmp(argv[1], "--list-servers") == 0))
    return RunFindPlayerCommandLine(argc, argv);
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const StartChoice start = ChooseStart(arguments);
  if (start.request != StartRequest::Window) return AnswerWithoutWindow(start);
  platform::QtDialogs dialogs;
  platform::SystemShell shell;
  platform::GuardedApplication application(argc, argv, dialogs);
  // No display name: Qt would append it to every window's caption, and the
  // captions are the windows' own. Boxes take the application name as title.
  application.setApplicationName(QStringLiteral("Quavik RC5"));
  // Every way of quitting ends in ApplicationClose. A message box closed
  // while the window sits in the tray is no reason to end.
  application.setQuitOnLastWindowClosed(false);
  app::Services services{dialogs, shell, ProgramPaths(), platform::Waits{}, {}};
  return program_windows::Run(services);
}
