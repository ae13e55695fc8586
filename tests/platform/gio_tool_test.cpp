// Running the gio tool: its answers and output, its exit code, a program that
// is missing and one that never ends. Stand-in scripts play gio.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include "platform/os/gio_tool.h"
#include "support/temp_dir.h"

namespace {

QString FakeGio(const testing_support::TempDir& dir, const QString& name, std::string_view body) {
  const QString path = dir.Write(name, "#!/bin/sh\n" + std::string(body));
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

TEST(RunGio, ReportsOutputAndExitCode) {
  testing_support::TempDir dir;
  struct Case {
    const char* name;
    std::string_view body;
    QByteArray answers;
    bool ok;
    QString message;
  } const cases[] = {
      {"answers reach it, both output channels come back",
       "read user; read domain; read password\necho \"user $user\"; echo \"password $password\" >&2\n",
       "anna\n\ngeheim\n", true, "user anna\npassword geheim"},
      {"a failure keeps what it said", "echo 'gio: mount failed' >&2; exit 2\n", {}, false, "gio: mount failed"},
      // Without answers its standard input is closed: a question ends it
      // instead of leaving it waiting.
      {"an unanswered question ends it", "read password || { echo 'no password'; exit 1; }\n", {}, false,
       "no password"},
  };
  for (const Case& c : cases) {
    const platform::GioOutcome outcome = platform::RunGio(FakeGio(dir, c.name, c.body), {}, 5000, c.answers);
    EXPECT_EQ(outcome.ok, c.ok) << c.name;
    EXPECT_EQ(outcome.message, c.message) << c.name;
  }
}

TEST(RunGio, PassesItsArguments) {
  testing_support::TempDir dir;
  const platform::GioOutcome outcome =
      platform::RunGio(FakeGio(dir, "gio", "echo \"$#:$1:$2\"\n"), {"mount", "smb://srv/share dir"}, 5000);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.message, "2:mount:smb://srv/share dir");
}

TEST(RunGio, MissingProgramIsNamed) {
  testing_support::TempDir dir;
  const platform::GioOutcome outcome = platform::RunGio(dir.File("no-gio-here"), {"mount"}, 5000);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.message, "gio not found");
}

TEST(RunGio, GivesUpOnAProgramThatNeverEnds) {
  testing_support::TempDir dir;
  const QString gio = FakeGio(dir, "gio", "exec sleep 30\n");
  QElapsedTimer clock;
  clock.start();
  const platform::GioOutcome outcome = platform::RunGio(gio, {"mount"}, 300);
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.message, "gio did not answer in time");
}

}  // namespace
