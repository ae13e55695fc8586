// Click-to-roster on loopback: the session logs in against the real clan
// server (started on a free loopback port with two members online) and the
// time from the login click to the shown roster is taken, then the logout.
// The window is a recording stand-in; everything else (settings file, game
// log scan, report transfer, import) is the program's own. Prints each run
// and, as its last line, the median login time.
//
//   quavik-bench-login [--runs N]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/main_view.h"
#include "app/services.h"
#include "app/session.h"
#include "support/recording_dialogs.h"
#include "support/recording_shell.h"

namespace {

class BenchView : public app::MainView {
 public:
  void ShowSettings(const app::Settings&) override {}
  void ShowSetup(bool) override {}
  void ShowKeyChoices(const QStringList&) override {}
  void ShowSettingsFile(const QString&) override {}
  void MoveWindow(const QPoint&) override {}
  void ShowLoggedIn(bool) override {}
  void ShowRosterHeadings() override {}
  void ClearClanRoster() override { roster.clear(); }
  void ShowClanRoster(const std::vector<presence::RosterEntry>& entries) override { roster = entries; }
  void ClearRefusedName() override {}
  void ShowGlobalNotice() override {}
  void ShowClanList(bool) override {}
  void ShowUpdateIndicator(bool) override {}
  void PlacePanels() override {}
  void ShowPlayerCaption(const QString&) override {}
  void ShowBookmarks(const QStringList&, const QString&) override {}
  void ShowBookmarkHint(const QString&) override {}
  void ShowNewsWaiting(const QString&) override {}
  void ShowNews(const QStringList&) override {}
  bool TrayAvailable() const override { return false; }
  void ShowTrayState(bool, const QString&, int) override {}
  void Notify(const QString&) override {}
  void Minimize(bool) override {}

  std::vector<presence::RosterEntry> roster;
};

// The clan server's port once it listens, or 0.
int StartClanServer(QProcess& server) {
  server.setReadChannel(QProcess::StandardOutput);
  server.start(QStringLiteral(QUAVIK_CLAN_SERVER_BIN),
               {QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("0"),
                QStringLiteral("--clan-pass"), QStringLiteral("geheim"), QStringLiteral("--seed"),
                QStringLiteral("Lee|10.0.0.5:7777|TO-Verdict")});
  if (!server.waitForStarted(5000)) return 0;
  const QRegularExpression listening(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)"));
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 10000) {
    if (!server.canReadLine() && !server.waitForReadyRead(100)) continue;
    const auto match = listening.match(QString::fromLatin1(server.readLine()));
    if (match.hasMatch()) return match.captured(1).toInt();
  }
  return 0;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  int runs = 7;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[++i]));

  QProcess server;
  const int port = StartClanServer(server);
  if (port == 0) {
    std::fprintf(stderr, "the clan server did not start\n");
    return 1;
  }
  QTemporaryDir root;
  const QString game = root.filePath(QStringLiteral("game/"));
  const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/quavik.php";
  if (!Write(game + "System/UnrealTournament.exe", "MZ") ||
      !Write(game + "System/TOUser.ini", "[DefaultPlayer]\r\nName=Kim\r\n") ||
      !Write(game + "System/TacticalOps.log", "Log: LoadMap: 1.2.3.4:7777/TO-Rapid?Name=Kim?Team=1\r\n") ||
      !Write(root.filePath(QStringLiteral("program/quavik.ini")),
             "[MAIN]\r\nScript-URL=" + url + "\r\nPass=geheim\r\nUpdate-Intervall=9\r\nDirectory=" +
                 game.toLocal8Bit() + "\r\n") ||
      !QDir().mkpath(root.filePath(QStringLiteral("work")))) {
    std::fprintf(stderr, "the game and program files could not be written\n");
    return 1;
  }

  testing_support::RecordingDialogs dialogs;
  testing_support::RecordingShell shell;
  app::Services services{dialogs, shell,
                         platform::AppPaths{root.filePath(QStringLiteral("program")),
                                            root.filePath(QStringLiteral("work")), {}},
                         platform::Waits{}, [] {}};
  BenchView view;
  app::Session session(services, view);
  session.Start();

  std::vector<double> logins;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer clock;
    clock.start();
    session.StartStop();
    const double loginMs = clock.nsecsElapsed() / 1e6;
    const bool shown = session.LoggedIn() && view.roster.size() == 2;
    clock.restart();
    session.StartStop();
    const double logoutMs = clock.nsecsElapsed() / 1e6;
    std::printf("run %d: click to roster %.1f ms%s, logout %.1f ms\n", run + 1, loginMs,
                shown ? "" : " (no roster shown)", logoutMs);
    if (!shown) {
      std::fprintf(stderr, "the login did not show the clan server's roster\n");
      return 1;
    }
    logins.push_back(loginMs);
  }
  server.kill();
  server.waitForFinished(2000);
  std::sort(logins.begin(), logins.end());
  std::printf("median click to roster over %d runs: %.1f ms\n", runs, logins[logins.size() / 2]);
  return 0;
}
