// Key lists, key bindings in the user INI, the exec scripts and the TOST
// notice.
#include <gtest/gtest.h>

#include <QDir>

#include "game/key_list.h"
#include "game/keybinder.h"
#include "platform/os/errors.h"
#include "support/activity_lines.h"
#include "support/file_replace_counter.h"
#include "support/temp_dir.h"

#include <sys/stat.h>

using namespace game;
using testing_support::ActivityLines;
using testing_support::FileReplaceCounter;
using testing_support::TempDir;

namespace {

TEST(KeyList, IndexesTheSettingsCountOn) {
  const QStringList keys = KeyListEntries();
  ASSERT_EQ(keys.size(), kKeyListSize);
  EXPECT_EQ(keys[0], " ");
  EXPECT_EQ(keys[1], "A");
  EXPECT_EQ(keys[26], "Z");
  EXPECT_EQ(keys[27], "0");
  EXPECT_EQ(keys[36], "9");
  EXPECT_EQ(keys[37], "F1");
  EXPECT_EQ(keys[48], "F12");
  ActivityLines activity;
  EXPECT_EQ(GenKeyBind(activity.Log()), keys);
  EXPECT_EQ(activity.Entries(), (QStringList{"START GenKeyBind", "  END GenKeyBind"}));
}

// A user INI as the game keeps it, with a comment and a blank line.
const std::string kUserIni =
    "[Engine.Input]\r\n"
    "; keep me\r\n"
    "Aliases[0]=(Command=\"Button bFire | Fire\",Alias=Fire)\r\n"
    "a=Jump\r\n"
    "F5=\r\n"
    "Escape=ShowMenu\r\n"
    "\r\n"
    "[DefaultPlayer]\r\n"
    "Name=Kim\r\n";

// The user INI after the writes: kUserIni with one stretch of it replaced.
struct BindCase {
  const char* name;
  int echo, teamsay, say;
  std::string before;
  std::string after;
};
void PrintTo(const BindCase& c, std::ostream* os) { *os << c.name; }

class Bindings : public ::testing::TestWithParam<BindCase> {};

TEST_P(Bindings, OnlyTheChosenKeysChange) {
  const BindCase& c = GetParam();
  TempDir dir;
  const QString ini = dir.Write("system/TOUser.ini", kUserIni);
  FileReplaceCounter writes(ini);
  WriteKeyBindings(ini, c.echo, c.teamsay, c.say, platform::ActivityLog());
  EXPECT_LE(writes.Count(), 1) << "all bindings in one write";
  std::string expected = kUserIni;
  expected.replace(expected.find(c.before), c.before.size(), c.after);
  EXPECT_EQ(dir.Read("system/TOUser.ini"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Bindings,
    ::testing::Values(
        BindCase{"NothingChosen", 0, -1, 0, "", ""},
        BindCase{"PastTheList", 49, 1000, -5, "", ""},
        // An existing key in another case keeps its spelling and its line.
        BindCase{"ReplacesInPlace", 1, 0, 0, "a=Jump", "a=EXEC quavik_echo.txt"},
        // New keys go after the section's last entry, echo then say then teamsay.
        BindCase{"AddsAfterLastEntry", 27, 48, 37, "Escape=ShowMenu\r\n",
                 "Escape=ShowMenu\r\n0=EXEC quavik_echo.txt\r\nF1=EXEC quavik_say.txt\r\n"
                 "F12=EXEC quavik_teamsay.txt\r\n"},
        // Echo and say on the same key: the later write (say) wins.
        BindCase{"SameKeyTwice", 1, 0, 1, "a=Jump", "a=EXEC quavik_say.txt"},
        BindCase{"EmptyValueReplaced", 0, 41, 0, "F5=", "F5=EXEC quavik_teamsay.txt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Bindings, MissingUserIniIsNotCreated) {
  TempDir dir;
  ActivityLines activity;
  WriteKeyBindings(dir.File("system/User.ini"), 1, 2, 3, activity.Log());
  EXPECT_FALSE(dir.Exists("system/User.ini"));
  EXPECT_EQ(activity.Entries(), (QStringList{"START Erstellung Keybinder in (TO)User.ini",
                                             "  END Erstellung Keybinder in (TO)User.ini"}));
}

TEST(Bindings, UnwritableUserIniRaisesAndLeavesTheOperationOpen) {
  TempDir dir;
  ActivityLines activity;
  const QString ini = dir.Write("system/User.ini", kUserIni);
  ::chmod(ini.toLocal8Bit().constData(), 0444);
  EXPECT_THROW(WriteKeyBindings(ini, 1, 0, 0, activity.Log()), platform::IoError);
  EXPECT_EQ(dir.Read("system/User.ini"), kUserIni);
  EXPECT_EQ(activity.Entries(), QStringList{"START Erstellung Keybinder in (TO)User.ini"});
}

TEST(ExecScripts, ExactBytes) {
  TempDir dir;
  ActivityLines activity;
  dir.Write("game/System/quavik_say.txt", "old content that is longer\r\n");
  const QString summary = QStringLiteral("Quavik meldet: Jörg (1.2.3.4:7777) Lee (Sucht Server...) ");
  WriteExecScripts({dir.File("game/system")}, summary, activity.Log());
  const std::string roster = "Quavik meldet: J\xF6rg (1.2.3.4:7777) Lee (Sucht Server...) ";
  EXPECT_EQ(dir.Read("game/System/quavik_echo.txt"), "echo " + roster + "\r\n");
  EXPECT_EQ(dir.Read("game/System/quavik_say.txt"), "say " + roster + "\r\n");
  EXPECT_EQ(dir.Read("game/System/quavik_teamsay.txt"), "teamsay " + roster + "\r\n");
  EXPECT_EQ(activity.Entries(),
            (QStringList{"START Erstellung EXEC-Scripts", "  END Erstellung EXEC-Scripts"}));
}

TEST(ExecScripts, BeforeTheFirstRosterOnlyTheCommand) {
  EXPECT_EQ(ExecScriptBytes("echo", ""), "echo \r\n");
}

TEST(ExecScripts, ControlCharactersCannotStartASecondCommand) {
  // A roster line with a lone LF (or any character below 32) would give the
  // game a second console line.
  EXPECT_EQ(ExecScriptBytes("say", QStringLiteral("Quavik meldet: Kim\nexit (a\rb\tc\x1F) ")),
            "say Quavik meldet: Kim exit (a b c ) \r\n");
}

TEST(ExecScripts, MissingDirectoryIsSkipped) {
  TempDir dir;
  EXPECT_NO_THROW(WriteExecScripts({dir.File("nowhere/system")}, "x", platform::ActivityLog()));
  EXPECT_FALSE(dir.Exists("nowhere"));
}

TEST(ExecScripts, LeftoversOfKilledSavesAreRemoved) {
  TempDir dir;
  dir.Write("System/quavik_Say.txt", "say x\r\n");
  for (const char* name : {"System/TOUser.ini.tmp-Ab3dE9", "System/quavik_Say.txt.tmp-123",
                           "System/quavik_echo.txt.tmp-x1y2z3", "System/Other.ini.tmp-Ab3dE9"})
    dir.Write(name, "x");
  RemoveStaleTempFiles(dir.File("System/"), dir.File("System/TOUser.ini"));
  EXPECT_EQ(QDir(dir.File("System")).entryList(QDir::Files), (QStringList{"Other.ini.tmp-Ab3dE9", "quavik_Say.txt"}));
}

TEST(TostNotice, FirstChangeOnlyUntilTheCounterWraps) {
  TostNotice notice;
  std::vector<int> shownAt;
  for (int change = 1; change <= 600; ++change) {
    if (notice.OnEchoKeyChange()) shownAt.push_back(change);
  }
  EXPECT_EQ(shownAt, (std::vector<int>{1, 256, 257, 512, 513}));
}

}  // namespace
