// Game files in real layouts: a Wine install keeps everything in System/, a
// native build starts from its own executable and writes its files into a
// per-user folder; and finding the installs in a home and a Wine prefix.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "game/install_finder.h"
#include "game/install_layout.h"
#include "support/temp_dir.h"

namespace game {
namespace {

using testing_support::TempDir;

// Sets a file's modification time `secondsAgo` before now.
void Age(const QString& path, int secondsAgo) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

TEST(InstallLayout, GameFilesAreWhereTheGameWroteLast) {
  TempDir dir;
  const GameProfile ut = GameProfileFor(2);
  const QString gameDir = dir.File("ut/");
  const InstallPlaces places = PlacesOf(gameDir, ut, dir.File("home"));
  EXPECT_EQ(places.userSystemDir, dir.File("home/.utpg/System"));

  // Neither: the path in the game's System/, to be created there.
  EXPECT_EQ(LocateGameFile(places, "UnrealTournament.log"), gameDir + "system/UnrealTournament.log");
  // Only the per-user one (native build).
  const QString userLog = dir.Write("home/.utpg/System/UnrealTournament.log", "x");
  EXPECT_EQ(LocateGameFile(places, "unrealtournament.log"), userLog);
  // Both: the newer one, either way round.
  const QString gameLog = dir.Write("ut/System/UnrealTournament.log", "y");
  Age(userLog, 600);
  EXPECT_EQ(LocateGameFile(places, "unrealtournament.log"), gameLog);
  Age(gameLog, 1200);
  EXPECT_EQ(LocateGameFile(places, "unrealtournament.log"), userLog);
  // A game without a native build has no per-user folder.
  EXPECT_EQ(PlacesOf(gameDir, GameProfileFor(1), dir.File("home")).userSystemDir, "");
}

// Which log a UT 2004 player's game writes depends on the build started:
// the 32-bit Windows client writes System/UT2004.log, the 64-bit Windows
// client (ut2004-win64.exe, which also reads ut2004-win64.ini in place of
// UT2004.ini) names its log after itself, System/ut2004-win64.log, and the
// native Linux builds write ~/.ut2004/System/UT2004.log. Seen in published
// install notes, e.g. the "Logs" and "Server configuration" sections of a
// UT2004 modding guide ("Client | <client install>/System/UT2004.log";
// "A Win64 server under Wine reads System/ut2004-win64.ini").
TEST(InstallLayout, TheLogIsTheOneTheGameWritesNow) {
  const GameProfile ut2004 = GameProfileFor(4);
  const struct {
    const char* name;
    std::vector<std::pair<const char*, int>> logs;  // file and its age in seconds
    const char* expected;
  } cases[] = {
      {"none yet", {}, "ut/system/UT2004.log"},
      {"32-bit client", {{"ut/System/UT2004.log", 10}}, "ut/System/UT2004.log"},
      {"64-bit client", {{"ut/System/ut2004-win64.log", 10}}, "ut/System/ut2004-win64.log"},
      {"64-bit client after the 32-bit one", {{"ut/System/UT2004.log", 900}, {"ut/System/ut2004-win64.log", 10}},
       "ut/System/ut2004-win64.log"},
      {"32-bit client after the 64-bit one", {{"ut/System/UT2004.log", 10}, {"ut/System/ut2004-win64.log", 900}},
       "ut/System/UT2004.log"},
      {"native build after the 64-bit one",
       {{"home/.ut2004/System/UT2004.log", 10}, {"ut/System/ut2004-win64.log", 900}, {"ut/System/UT2004.log", 1800}},
       "home/.ut2004/System/UT2004.log"},
      {"letter case of the file system", {{"ut/System/UT2004-Win64.log", 10}}, "ut/System/UT2004-Win64.log"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    for (const auto& [file, age] : c.logs) Age(dir.Write(file, "log"), age);
    const InstallPlaces places = PlacesOf(dir.File("ut/"), ut2004, dir.File("home"));
    EXPECT_EQ(LocateGameLog(places, ut2004), dir.File(c.expected));
  }
  SCOPED_TRACE("a game with one log name");
  TempDir dir;
  Age(dir.Write("ut/System/ut2004-win64.log", "log"), 10);
  Age(dir.Write("ut/System/ut2003.log", "log"), 900);
  EXPECT_EQ(LocateGameLog(PlacesOf(dir.File("ut/"), GameProfileFor(3), dir.File("home")), GameProfileFor(3)),
            dir.File("ut/System/ut2003.log"));
}

TEST(InstallLayout, ExecutableAndExecScriptFolders) {
  TempDir dir;
  const QString home = dir.File("home");
  const struct {
    const char* name;
    int game;
    std::vector<const char*> files;
    const char* executable;
    std::vector<QString> scriptDirs;
  } cases[] = {
      {"Wine", 2, {"System/UnrealTournament.exe"}, "System/UnrealTournament.exe", {"System"}},
      {"Native469", 2, {"System/UnrealTournament.exe", "System64/ut-bin-amd64"}, "System64/ut-bin-amd64",
       {"System64", home + "/.utpg/System"}},
      {"Native469x86", 0, {"System/ut-bin-x86"}, "System/ut-bin-x86", {"System", home + "/.utpg/System"}},
      {"NativeUt2004", 4, {"System/ut2004-bin-linux-amd64"}, "System/ut2004-bin-linux-amd64",
       {"System", home + "/.ut2004/System"}},
      {"NothingInstalled", 3, {}, "system/ut2003.exe", {"system"}},
      {"RetailHasNoNativeBuild", 1, {"System/ut-bin"}, "System/tacticalops.exe", {"System"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString gameDir = dir.File(QString(c.name) + "/");
    for (const char* file : c.files) dir.Write(QString(c.name) + "/" + file, "");
    const GameProfile profile = GameProfileFor(c.game);
    const QString executable = LocateExecutable(gameDir, profile);
    EXPECT_EQ(executable, gameDir + c.executable);
    EXPECT_EQ(IsNativeExecutable(executable), !executable.endsWith(".exe"));
    QStringList expectedDirs;
    for (const QString& d : c.scriptDirs) expectedDirs << (d.startsWith('/') ? d : gameDir + d);
    EXPECT_EQ(ExecScriptDirs(PlacesOf(gameDir, profile, home), profile), expectedDirs);
  }
}

// A home with a native UT build, a native UT 2004 in ~/.ut2004, native
// Steam, and a Wine prefix with a UT carrying the Tactical Ops mod, UT 2004
// from GOG and from the Wine Steam, and a folder that holds no game.
class Finding : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("home/.local/share/OldUnreal/UnrealTournament/System64/ut-bin-amd64", "");
    dir.Write("home/.utpg/System/UnrealTournament.log", "Log: x\r\n");
    dir.Write("home/.ut2004/System/ut2004-bin", "");
    dir.Write("home/.ut2004/System/UT2004.log", "Log: x\r\n");
    dir.Write("home/.local/share/Steam/steamapps/common/Unreal Tournament/System/UnrealTournament.exe", "");
    dir.Write("prefix/drive_c/UnrealTournament/System/unrealtournament.exe", "");
    dir.Write("prefix/drive_c/UnrealTournament/System/TacticalOps.ini", "");
    dir.Write("prefix/drive_c/GOG Games/UT2004/System/UT2004.exe", "");
    dir.Write("prefix/drive_c/Program Files (x86)/Steam/steamapps/common/Unreal Tournament 2004/System/UT2004.exe", "");
    dir.Write("prefix/drive_c/Program Files/Notepad++/notepad++.exe", "");
    dir.Write("home/.wine/drive_c/UT2003/System/UT2003.exe", "");
  }
  QString Home() const { return dir.File("home"); }
  TempDir dir;
};

TEST_F(Finding, ListsEveryInstallInHomeAndWinePrefix) {
  const QString h = Home() + "/";
  const QString p = dir.File("prefix/drive_c/");
  EXPECT_EQ(FoundInstallsText(FindInstalls(Home(), dir.File("prefix"))),
            "Tactical Ops MOD\t" + p + "UnrealTournament/\n" +
            "Unreal Tournament\t" + h + ".local/share/OldUnreal/UnrealTournament/\n" +
            "Unreal Tournament\t" + h + ".local/share/Steam/steamapps/common/Unreal Tournament/\n" +
            "Unreal Tournament\t" + p + "UnrealTournament/\n" +
            "UT 2004\t" + h + ".ut2004/\n" +
            "UT 2004\t" + p + "GOG Games/UT2004/\n" +
            "UT 2004\t" + p + "Program Files (x86)/Steam/steamapps/common/Unreal Tournament 2004/\n");
  // Without $WINEPREFIX the prefix is ~/.wine.
  const auto withoutPrefix = FindInstalls(Home(), "");
  ASSERT_FALSE(withoutPrefix.empty());
  EXPECT_EQ(FoundInstallsText({withoutPrefix.begin() + 2, withoutPrefix.begin() + 3}),
            "UT 2003\t" + h + ".wine/drive_c/UT2003/\n");
  EXPECT_TRUE(FindInstalls(dir.File("empty-home"), dir.File("no-prefix")).empty());
}

TEST_F(Finding, NewestLogWins) {
  const QString prefix = dir.File("prefix");
  // The native build's log is in ~/.utpg; the Wine install's in its System/.
  const QString wineLog = dir.Write("prefix/drive_c/UnrealTournament/System/UnrealTournament.log", "x");
  Age(dir.File("home/.utpg/System/UnrealTournament.log"), 60);
  EXPECT_EQ(NewestInstallOf(2, Home(), prefix), dir.File("prefix/drive_c/UnrealTournament/"));
  Age(wineLog, 120);
  EXPECT_EQ(NewestInstallOf(2, Home(), prefix), dir.File("home/.local/share/OldUnreal/UnrealTournament/"));
  EXPECT_EQ(NewestInstallOf(1, Home(), prefix), "");
}

TEST_F(Finding, CommandLineListsTheInstalls) {
  QProcess quavik;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", Home());
  env.insert("WINEPREFIX", dir.File("prefix"));
  quavik.setProcessEnvironment(env);
  // The program is built beside the test programs.
  quavik.start(QCoreApplication::applicationDirPath() + "/quavik", {"--find-games"});
  ASSERT_TRUE(quavik.waitForFinished(20000)) << quavik.errorString().toStdString();
  EXPECT_EQ(quavik.exitCode(), 0);
  EXPECT_EQ(QString::fromLocal8Bit(quavik.readAllStandardOutput()),
            FoundInstallsText(FindInstalls(Home(), dir.File("prefix"))));
}

}  // namespace
}  // namespace game
