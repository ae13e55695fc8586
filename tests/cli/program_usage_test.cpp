// What the programs answer to --help and to an option they don't know,
// without a display; which arguments the window start takes; --find-games
// that finds nothing; the game-server stand-in on a port of our choosing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "built_program.h"
#include "cli/program_usage.h"
#include "support/temp_dir.h"

namespace {

TEST(WindowStart, TakesLogAndQtsOptionsButNoOtherOption) {
  struct Case {
    QStringList args;
    StartRequest request;
    QString option;
  } const cases[] = {
      {{}, StartRequest::Window, {}},
      {{"LOG"}, StartRequest::Window, {}},
      {{"log", "-platform", "offscreen"}, StartRequest::Window, {}},
      {{"--platform", "xcb", "-style=fusion", "-reverse"}, StartRequest::Window, {}},
      {{"-geometry", "800x600+0+0", "-qwindowtitle", "-x"}, StartRequest::Window, {}},  // "-x" is the title
      {{"--help"}, StartRequest::Help, {}},
      {{"LOG", "-h"}, StartRequest::Help, {}},
      {{"--bogus"}, StartRequest::UnknownOption, "--bogus"},
      {{"LOG", "--find-game"}, StartRequest::UnknownOption, "--find-game"},
      {{"-platform", "offscreen", "-v"}, StartRequest::UnknownOption, "-v"},
      {{"--stylex=fusion"}, StartRequest::UnknownOption, "--stylex=fusion"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const StartChoice choice = ChooseStart(c.args);
    EXPECT_EQ(choice.request, c.request);
    EXPECT_EQ(choice.option, c.option);
  }
}

using Outcome = ProgramRun;

ProgramRun RunProgram(const QString& name, const QStringList& args, const QProcessEnvironment& extra = {}) {
  ProgramRunOptions options;
  options.extra = extra;
  return RunBuiltProgram(name, args, options);
}

TEST(Programs, AnswerHelpAndRefuseUnknownOptions) {
  struct Case {
    const char* program;
    QStringList args;
    int exitCode;
    const char* usageIn;  // "out" or "err"
    const char* said;
  } const cases[] = {
      {"quavik", {"--help"}, 0, "out", "Usage: quavik"},
      {"quavik", {"-h"}, 0, "out", "--find-games"},
      {"quavik", {"--bogus"}, 2, "err", "unknown option --bogus"},
      {"quavik", {"LOG", "-z"}, 2, "err", "unknown option -z"},
      {"quavik-transfer", {"--help"}, 0, "out", "Usage: quavik-transfer"},
      {"quavik-transfer", {"--bogus", "x"}, 2, "err", "unknown option --bogus"},
      {"quavik-transfer", {"-z", "x"}, 2, "err", "unknown option -z"},
      {"quavik-game-server-standin", {"--help"}, 0, "out", "Usage: quavik-game-server-standin"},
      {"quavik-game-server-standin", {"--bogus", "x"}, 2, "err", "unknown option --bogus"},
      {"quavik-game-server-standin", {"--port", "70000"}, 2, "err", "--port wants 0 to 65535"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " " + c.args.join(' ').toStdString());
    const Outcome run = RunProgram(c.program, c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.errors.toStdString();
    const QString& usage = QString(c.usageIn) == "out" ? run.Text() : run.errors;
    EXPECT_TRUE(usage.contains(c.said)) << usage.toStdString();
    EXPECT_TRUE(usage.contains("Usage")) << usage.toStdString();
    if (c.exitCode == 0) {
      EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
    }
  }
}

TEST(Programs, FindGamesSaysSoWhenThereIsNone) {
  testing_support::TempDir home;
  QProcessEnvironment env;
  env.insert("HOME", home.Path());
  env.insert("WINEPREFIX", home.File("no-prefix"));
  env.insert("XDG_CONFIG_HOME", home.File("config"));
  env.insert("XDG_CACHE_HOME", home.File("cache"));
  const Outcome run = RunProgram("quavik", {"--find-games"}, env);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  EXPECT_TRUE(run.errors.contains("no game install found")) << run.errors.toStdString();
}

TEST(Programs, GameServerStandInBindsTheNamedPort) {
  const int port = UnusedLoopbackPort(SOCK_DGRAM);
  ASSERT_GT(port, 0);
  QProcess standIn;
  standIn.start(BuiltProgramDir() + "/quavik-game-server-standin", {"--port", QString::number(port)});
  ASSERT_TRUE(standIn.waitForReadyRead(10000)) << standIn.errorString().toStdString();
  EXPECT_EQ(standIn.readLine().trimmed(), "port " + QByteArray::number(port));
  // A second one can't have the port: it says so instead of taking another.
  const Outcome taken = RunProgram("quavik-game-server-standin", {"--port", QString::number(port)});
  EXPECT_EQ(taken.exitCode, 1);
  EXPECT_TRUE(taken.errors.contains(QString::number(port))) << taken.errors.toStdString();
  standIn.terminate();
  EXPECT_TRUE(standIn.waitForFinished(10000));
}

}  // namespace
