// The settings file: defaults, conversions, the exact file a first save
// writes, and the two save rules.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/settings.h"
#include "app/startup.h"
#include "platform/os/errors.h"
#include "support/file_replace_counter.h"
#include "support/temp_dir.h"

using testing_support::FileReplaceCounter;
using testing_support::TempDir;

namespace {

TEST(SettingsFile, FirstSaveOfDefaultsWritesEveryKeyInOrder) {
  TempDir dir;
  const QString path = dir.File("quavik.ini");
  FileReplaceCounter writes(path);
  app::Settings::Load(path).Save(path);
  EXPECT_EQ(writes.Count(), 1) << "one save writes the file once";
  EXPECT_EQ(dir.Read("quavik.ini"),
            "[MAIN]\r\nGlobal-Script-URL=\r\nGlobal-Pass=\r\nScript-URL=\r\nDirectory=\r\nPass=\r\n"
            "Update-Intervall=4\r\nClansite=\r\nTOLogSizeCheck=0\r\nProgrammversion=0\r\n"
            "Keybinder=-1\r\nKeybinder_say=-1\r\nKeybinder_teamsay=-1\r\n"
            "[GUI]\r\nXPOS=40\r\nYPOS=40\r\nNotify=1\r\nTrayMinimize=0\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "the file holds passwords";
}

TEST(SettingsFile, RoundTripAndConversions) {
  TempDir dir;
  const QString path = dir.Write("quavik.ini",
                                 "[main]\r\nscript-url=http://clan.example/q.php\r\npass=g\xFCnter\r\n"
                                 "Directory=/games/to\r\nTOLogSizeCheck=2\r\nUpdate-Intervall=$3\r\n"
                                 "Programmversion=0x2\r\nKeybinder=38\r\nKeybinder_say=abc\r\n"
                                 "[gui]\r\nxpos=-5\r\nYPOS=700\r\nnotify=0\r\n");
  app::Settings v = app::Settings::Load(path);
  EXPECT_EQ(v.scriptUrl, "http://clan.example/q.php");
  EXPECT_EQ(v.pass, QString::fromUtf8("günter"));
  EXPECT_EQ(v.directory, "/games/to");
  EXPECT_TRUE(v.logSizeCheck);
  EXPECT_EQ(v.updateInterval, 3);
  EXPECT_EQ(v.gameIndex, 2);
  EXPECT_EQ(v.keyEcho, 38);
  EXPECT_EQ(v.keySay, -1);
  EXPECT_EQ(v.keyTeamsay, -1);
  EXPECT_EQ(v.xpos, -5);
  EXPECT_EQ(v.ypos, 700);
  EXPECT_FALSE(v.notify);
  v.Save(path);
  EXPECT_EQ(app::Settings::Load(path), v);
  // Key spelling of the file is kept; the flag is written back as "1".
  const std::string after = dir.Read("quavik.ini");
  EXPECT_NE(after.find("script-url=http://clan.example/q.php\r\n"), std::string::npos);
  EXPECT_NE(after.find("TOLogSizeCheck=1\r\n"), std::string::npos);
  EXPECT_NE(after.find("pass=g\xFCnter\r\n"), std::string::npos);
}

TEST(SettingsFile, WriteProtectedFileRaisesAndStaysUnchanged) {
  TempDir dir;
  const QString path = dir.Write("quavik.ini", "[MAIN]\r\nPass=x\r\n");
  ::chmod(path.toLocal8Bit().constData(), 0400);
  EXPECT_THROW(app::Settings{}.Save(path), platform::IoError);
  EXPECT_EQ(dir.Read("quavik.ini"), "[MAIN]\r\nPass=x\r\n");
}

TEST(SettingsRules, ScriptUrlScheme) {
  const struct {
    const char* in;
    std::optional<QString> out;
  } cases[] = {
      {"", std::nullopt},
      {"http://clan.example/", std::nullopt},
      {"HTTP://clan.example/", std::nullopt},
      {"https://clan.example/", std::nullopt},
      {"HtTpS://clan.example/", std::nullopt},
      {"clan.example/q.php", QString("http://clan.example/q.php")},
      {"ftp://clan.example/", QString("http://ftp://clan.example/")},
      {"http:/x", QString("http://http:/x")},
  };
  for (const auto& c : cases) EXPECT_EQ(app::CorrectedScriptUrl(c.in), c.out) << c.in;
}

TEST(SettingsRules, GameDirectorySeparator) {
  EXPECT_EQ(app::WithTrailingSeparator(""), "");
  EXPECT_EQ(app::WithTrailingSeparator("/games/to"), "/games/to/");
  EXPECT_EQ(app::WithTrailingSeparator("/games/to/"), "/games/to/");
}

TEST(StartupRules, LogSwitchOnlyForFirstArgument) {
  const struct {
    QStringList args;
    bool on;
  } cases[] = {{{}, false},           {{"LOG"}, true},          {{"log"}, true},
               {{"lOg", "x"}, true},  {{"x", "LOG"}, false},    {{"LOGS"}, false},
               {{"-LOG"}, false},     {{"LOG "}, false},        {{""}, false}};
  for (const auto& c : cases) EXPECT_EQ(app::IsLogSwitch(c.args), c.on) << c.args.join(",").toStdString();
}

}  // namespace
