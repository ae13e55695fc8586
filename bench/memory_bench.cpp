// quavik-bench-memory: Quavik's memory while logged in, against the floor of
// a bare Qt window that has loaded libcurl.
//
// Under one private Xvfb it starts the bare window (quavik-bench-bare-window)
// and the real quavik, a copy beside its own quavik.ini in a temporary
// directory, pointed at the real clan server on a loopback port and at a
// small game directory. It logs in with a click on the login image, waits
// until the first roster has been written into the game's exec scripts,
// lets both idle, and reads the memory of both in the same moment. Every
// wait is bounded; everything it started is ended before it returns.
// MB are MiB (1,024 KiB as the kernel counts).
//
//   quavik-bench-memory [--idle SECONDS] [--smaps]
//
// --smaps adds the resident memory of both, mapping group by mapping group.
// The last line is "rss quavik: X MB, bare window: Y MB, ratio: Z".
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "memory_figures.h"

namespace {

constexpr char kTitle[] = "Quavik RC5";

void Say(const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }

// Polls `done` every 100 ms for up to `seconds`.
bool WaitFor(double seconds, const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > seconds * 1000) return false;
    QThread::msleep(100);
  }
  return true;
}

// The processes the run started; each is ended (TERM, then KILL) when the
// run is over, the last started first.
class Processes {
 public:
  explicit Processes(QProcessEnvironment environment) : environment_(std::move(environment)) {}
  ~Processes() {
    for (auto it = started_.rbegin(); it != started_.rend(); ++it) {
      QProcess& process = **it;
      if (process.state() == QProcess::NotRunning) continue;
      process.terminate();
      if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
      }
    }
  }

  QProcess* Start(const QString& program, const QStringList& arguments, const QString& workDir = {}) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment_);
    if (!workDir.isEmpty()) process->setWorkingDirectory(workDir);
    process->start(program, arguments);
    if (!process->waitForStarted(10000)) {
      Say(QStringLiteral("%1 did not start: %2").arg(program, process->errorString()));
      return nullptr;
    }
    started_.push_back(std::move(process));
    return started_.back().get();
  }

  // A short command's standard output; nothing when it failed.
  std::optional<QString> Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
      process.kill();
      process.waitForFinished(5000);
      return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
  }

  QProcessEnvironment& environment() { return environment_; }

 private:
  QProcessEnvironment environment_;
  std::vector<std::unique_ptr<QProcess>> started_;
};

// Starts Xvfb without resets (each xdotool call is a client) and waits until
// a client can connect; sets DISPLAY for what starts later.
bool StartXvfb(Processes& processes) {
  QProcess* xvfb = processes.Start(QStringLiteral("Xvfb"),
                                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                                    QStringLiteral("-screen"), QStringLiteral("0"),
                                    QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
  if (!xvfb) return false;
  QString display;
  const bool told = WaitFor(10, [&] {
    xvfb->waitForReadyRead(100);
    display += QString::fromLatin1(xvfb->readAllStandardOutput());
    return display.contains(QLatin1Char('\n'));
  });
  if (!told) return Say(QStringLiteral("Xvfb did not start")), false;
  processes.environment().insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + display.trimmed());
  return WaitFor(10, [&] {
    return processes.Run(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}).has_value();
  });
}

// Starts the clan server on a free loopback port with two members online;
// the port, or 0.
int StartClanServer(Processes& processes) {
  QProcess* server = processes.Start(
      QStringLiteral(QUAVIK_CLAN_SERVER_BIN),
      {QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("0"),
       QStringLiteral("--clan-pass"), QStringLiteral("geheim"), QStringLiteral("--master-pass"),
       QStringLiteral("geheim"), QStringLiteral("--seed"), QStringLiteral("Kim|10.0.0.5:7777|TO-Verdict"),
       QStringLiteral("--seed"), QStringLiteral("Lee|<i>Sucht Server...</i>|<i>Sucht Server...</i>")});
  if (!server) return 0;
  server->setReadChannel(QProcess::StandardOutput);
  int port = 0;
  const QRegularExpression listening(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)"));
  WaitFor(10, [&] {
    while (server->canReadLine() || server->waitForReadyRead(100)) {
      const auto match = listening.match(QString::fromLatin1(server->readLine()));
      if (match.hasMatch()) port = match.captured(1).toInt();
      if (port || !server->canReadLine()) break;
    }
    return port != 0;
  });
  return port;
}

bool WriteLines(const QString& path, const QStringList& lines) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (const QString& line : lines) file.write(line.toLatin1() + "\r\n");
  return file.error() == QFile::NoError;
}

// A Tactical Ops install with a player on a server, and Quavik's settings
// with every value filled in (no first-start notice) and the longest
// interval (no report of the timer during the run).
bool WriteSetup(const QString& root, int port) {
  const QString system = root + QStringLiteral("/game/System");
  const QString program = root + QStringLiteral("/program");
  QDir().mkpath(system);
  QDir().mkpath(root + QStringLiteral("/work"));
  QDir().mkpath(program);
  const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(port);
  bool ok = WriteLines(system + QStringLiteral("/tacticalops.log"),
                       {QStringLiteral("Log: Log file open, 12/10/26 20:14:03"),
                        QStringLiteral("Log: LoadMap: 192.168.7.3:7777/TO-Blister?Name=Kai?Team=1"),
                        QStringLiteral("ScriptLog: round started")}) &&
            WriteLines(system + QStringLiteral("/TOUser.ini"),
                       {QStringLiteral("[Engine.Input]"), QStringLiteral("F1="), QString(),
                        QStringLiteral("[DefaultPlayer]"), QStringLiteral("Name=Kai")}) &&
            WriteLines(system + QStringLiteral("/tacticalops.ini"),
                       {QStringLiteral("[Engine.Engine]"),
                        QStringLiteral("GameRenderDevice=SoftDrv.SoftwareRenderDevice")}) &&
            WriteLines(system + QStringLiteral("/unrealtournament.exe"), {QStringLiteral("#!/bin/sh")}) &&
            WriteLines(program + QStringLiteral("/quavik.ini"),
                       {QStringLiteral("[MAIN]"), QStringLiteral("Global-Script-URL=") + url + QStringLiteral("master.php"),
                        QStringLiteral("Global-Pass=geheim"), QStringLiteral("Script-URL=") + url + QStringLiteral("quavik.php"),
                        QStringLiteral("Directory=") + root + QStringLiteral("/game/"), QStringLiteral("Pass=geheim"),
                        QStringLiteral("Update-Intervall=9"), QStringLiteral("Clansite=") + url,
                        QStringLiteral("TOLogSizeCheck=0"), QStringLiteral("Programmversion=0"),
                        QStringLiteral("Keybinder=37"), QStringLiteral("Keybinder_say=39"),
                        QStringLiteral("Keybinder_teamsay=38"), QStringLiteral("[GUI]"), QStringLiteral("XPOS=40"),
                        QStringLiteral("YPOS=40")});
  ok = ok && QFile::setPermissions(system + QStringLiteral("/unrealtournament.exe"),
                                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  ok = ok && QFile::setPermissions(program + QStringLiteral("/quavik.ini"), QFile::ReadOwner | QFile::WriteOwner);
  return ok && QFile::copy(QStringLiteral(QUAVIK_BIN), program + QStringLiteral("/quavik"));
}

// The id of the visible window named `name` whose size is `width` x `height`.
QString FindWindow(Processes& processes, const QString& name, int width, int height) {
  QString found;
  WaitFor(20, [&] {
    const QString ids =
        processes.Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--name"), name}).value_or(QString());
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
      const QString geometry =
          processes.Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), id}).value_or(QString());
      if (geometry.contains(QStringLiteral("Geometry: %1x%2").arg(width).arg(height))) found = id;
    }
    return !found.isEmpty();
  });
  return found;
}

// Clicks with the real pointer at window-relative coordinates.
bool ClickInWindow(Processes& processes, const QString& id, int x, int y) {
  const QString shell = processes
                            .Run(QStringLiteral("xdotool"),
                                 {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id})
                            .value_or(QString());
  const auto value = [&](const char* key) {
    return QRegularExpression(QStringLiteral("^%1=(\\d+)$").arg(QLatin1String(key)),
                              QRegularExpression::MultilineOption)
        .match(shell)
        .captured(1)
        .toInt();
  };
  return processes
      .Run(QStringLiteral("xdotool"),
           {QStringLiteral("mousemove"), QString::number(value("X") + x), QString::number(value("Y") + y),
            QStringLiteral("click"), QStringLiteral("1")})
      .has_value();
}

double MiB(long kib) { return double(kib) / 1024.0; }

void PrintMemory(const char* name, const bench::ProcessMemory& memory) {
  std::printf("%-12s VmRSS %7.1f MB, Rss %7.1f MB, Pss %7.1f MB\n", name, MiB(memory.vmRssKiB),
              MiB(memory.rssKiB), MiB(memory.pssKiB));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  int idleSeconds = 5;
  bool smaps = false;
  const QStringList arguments = application.arguments().mid(1);
  for (int i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == QStringLiteral("--help") || arguments[i] == QStringLiteral("-h")) {
      std::printf("Usage: quavik-bench-memory [--idle SECONDS] [--smaps]\n");
      return 0;
    }
    if (arguments[i] == QStringLiteral("--smaps")) {
      smaps = true;
    } else if (arguments[i] == QStringLiteral("--idle") && i + 1 < arguments.size() &&
               arguments[i + 1].toInt() > 0) {
      idleSeconds = arguments[++i].toInt();
    } else {
      std::fprintf(stderr, "quavik-bench-memory: unusable argument %s\nUsage: quavik-bench-memory [--idle SECONDS] [--smaps]\n",
                   qPrintable(arguments[i]));
      return 2;
    }
  }
  QTemporaryDir root;
  if (!root.isValid()) return Say(QStringLiteral("no temporary directory")), 1;
  Processes processes(QProcessEnvironment::systemEnvironment());
  processes.environment().remove(QStringLiteral("QT_QPA_PLATFORM"));
  if (!StartXvfb(processes)) return Say(QStringLiteral("no X server")), 1;
  const int port = StartClanServer(processes);
  if (port == 0) return Say(QStringLiteral("the clan server did not start")), 1;
  if (!WriteSetup(root.path(), port)) return Say(QStringLiteral("could not write the setup")), 1;

  QProcess* bare = processes.Start(QStringLiteral(QUAVIK_BARE_WINDOW_BIN), {});
  QProcess* quavik = processes.Start(root.path() + QStringLiteral("/program/quavik"), {},
                                     root.path() + QStringLiteral("/work"));
  if (!bare || !quavik) return 1;
  if (FindWindow(processes, QStringLiteral("Bare window"), 299, 399).isEmpty())
    return Say(QStringLiteral("the bare window did not open")), 1;
  const QString main = FindWindow(processes, QString::fromLatin1(kTitle), 299, 399);
  if (main.isEmpty()) return Say(QStringLiteral("Quavik's main window did not open")), 1;
  QThread::msleep(500);
  if (!ClickInWindow(processes, main, 50, 368)) return Say(QStringLiteral("could not click")), 1;
  const QString script = root.path() + QStringLiteral("/game/System/quavik_say.txt");
  if (!WaitFor(30, [&] { return QFile::exists(script) || quavik->state() == QProcess::NotRunning; }) ||
      quavik->state() == QProcess::NotRunning)
    return Say(QStringLiteral("no roster arrived within 30 s")), 1;
  QThread::sleep(idleSeconds);
  if (quavik->state() == QProcess::NotRunning) return Say(QStringLiteral("Quavik ended")), 1;

  const pid_t quavikPid = pid_t(quavik->processId());
  const pid_t barePid = pid_t(bare->processId());
  const bench::ProcessMemory quavikMemory = bench::ReadProcessMemory(quavikPid);
  const bench::ProcessMemory bareMemory = bench::ReadProcessMemory(barePid);
  const auto quavikGroups = bench::ReadMappingGroups(quavikPid);
  const auto bareGroups = bench::ReadMappingGroups(barePid);
  if (quavikMemory.vmRssKiB <= 0 || bareMemory.vmRssKiB <= 0) return Say(QStringLiteral("no figures")), 1;

  std::printf("logged in, %d s idle after the first roster\n", idleSeconds);
  PrintMemory("quavik", quavikMemory);
  PrintMemory("bare window", bareMemory);
  if (smaps) {
    std::printf("%s", bench::CompareGroups(quavikGroups, bareGroups, "quavik", "bare window", 100).c_str());
  }
  std::printf("rss quavik: %.1f MB, bare window: %.1f MB, ratio: %.2f\n", MiB(quavikMemory.vmRssKiB),
              MiB(bareMemory.vmRssKiB), double(quavikMemory.vmRssKiB) / double(bareMemory.vmRssKiB));
  return 0;
}
