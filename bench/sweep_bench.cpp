// The player finder against quakestat, side by side in one run on the same
// list: a loopback world of 1,000 text-query servers (10 % silent) and a
// GameSpy-style master stand-in that lists them. quavik --find-player asks
// the master afresh and every server; quakestat, with its default settings,
// reads the same servers from a file. Prints both times and their ratio; the
// ratio is the last line (the goal is 0.25 or less).
//
//   quavik-bench-sweep [--count N]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString Program(const char* name) { return QCoreApplication::applicationDirPath() + "/" + name; }

// Waits for a line starting with `prefix` on the process's output; "" on failure.
QString WaitForLine(QProcess& process, const QString& prefix, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < timeoutMs) {
    while (process.canReadLine()) {
      const QString line = QString::fromUtf8(process.readLine()).trimmed();
      if (line.startsWith(prefix)) return line;
    }
    if (!process.waitForReadyRead(int(timeoutMs - clock.elapsed()))) break;
  }
  return {};
}

void Stop(QProcess& process) {
  process.terminate();
  if (!process.waitForFinished(5000)) {
    process.kill();
    process.waitForFinished();
  }
}

int Fail(const QString& why) {
  std::fprintf(stderr, "quavik-bench-sweep: %s\n", qPrintable(why));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QString count = "1000";
  const QStringList args = application.arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      std::printf("Usage: quavik-bench-sweep [--count N]\n");
      return 0;
    }
    if (args[i] == "--count" && i + 1 < args.size()) count = args[++i];
    else {
      Fail("unusable argument " + args[i] + "\nUsage: quavik-bench-sweep [--count N]");
      return 2;
    }
  }
  QTemporaryDir dir;
  const QString listFile = dir.filePath("servers.txt");

  QProcess swarm;
  swarm.start(Program("quavik-server-swarm-standin"),
              {"--count", count, "--silent-percent", "10", "--player", "BenchPlayer@" + QString::number(count.toInt() / 2),
               "--list", listFile});
  if (WaitForLine(swarm, "ready", 60000).isEmpty()) return Fail("the server swarm did not start");

  QProcess master;
  master.start(Program("quavik-master-standin"), {"--game", "ut", "--list", listFile});
  const QString portLine = WaitForLine(master, "port ", 10000);
  if (portLine.isEmpty()) {
    Stop(swarm);
    return Fail("the master stand-in did not start");
  }
  const QString masterAt = "127.0.0.1:" + portLine.mid(5);

  // quakestat's "uns" type takes the game port and asks the one above it.
  QFile list(listFile);
  QFile qstatList(dir.filePath("qstat.txt"));
  if (!list.open(QIODevice::ReadOnly) || !qstatList.open(QIODevice::WriteOnly)) return Fail("no server list");
  int servers = 0;
  while (!list.atEnd()) {
    const QString line = QString::fromUtf8(list.readLine()).trimmed();
    const qsizetype colon = line.lastIndexOf(':');
    if (colon < 0) continue;
    qstatList.write(QStringLiteral("%1:%2\n").arg(line.left(colon)).arg(line.mid(colon + 1).toInt() - 1).toUtf8());
    ++servers;
  }
  qstatList.close();

  QProcess quavik;
  quavik.setProcessChannelMode(QProcess::MergedChannels);
  QElapsedTimer clock;
  clock.start();
  quavik.start(Program("quavik"), {"--find-player", "BenchPlayer", "--game", "ut", "--master", masterAt, "--refresh"});
  quavik.waitForFinished(120000);
  const qint64 quavikMs = clock.elapsed();
  const QByteArray quavikOut = quavik.readAll();

  QProcess qstat;
  clock.restart();
  qstat.start("quakestat", {"-default", "uns", "-f", qstatList.fileName()});
  qstat.waitForFinished(300000);
  const qint64 qstatMs = clock.elapsed();

  Stop(master);
  Stop(swarm);
  if (quavik.exitCode() != 0) return Fail("quavik did not find the player: " + QString::fromUtf8(quavikOut));
  if (qstat.exitStatus() != QProcess::NormalExit) return Fail("quakestat did not finish");
  std::printf("servers %d (10 %% silent)\n", servers);
  std::printf("quavik --find-player  %lld ms (the master asked and every server)\n", static_cast<long long>(quavikMs));
  std::printf("quakestat             %lld ms (every server, default settings)\n", static_cast<long long>(qstatMs));
  std::printf("ratio %.3f\n", qstatMs > 0 ? double(quavikMs) / double(qstatMs) : 0.0);
  return 0;
}
