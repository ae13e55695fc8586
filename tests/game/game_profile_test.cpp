// The four game files per game choice and how a game file is found on disk.
#include <gtest/gtest.h>

#include "game/game_profile.h"
#include "support/temp_dir.h"

namespace game {
namespace {

using testing_support::TempDir;

TEST(GameProfiles, EveryChoiceAndTheFallback) {
  const struct {
    int index;
    GameProfile profile;
  } cases[] = {
      {0, {"tacticalops.log", "tacticalops.ini", "TOUser.ini", "unrealtournament.exe"}},
      {1, {"tacticalops.log", "tacticalops.ini", "User.ini", "tacticalops.exe"}},
      {2, {"unrealtournament.log", "unrealtournament.ini", "User.ini", "unrealtournament.exe"}},
      {3, {"ut2003.log", "ut2003.ini", "User.ini", "ut2003.exe", true}},
      {4, {"UT2004.log", "UT2004.ini", "User.ini", "UT2004.exe", true, {"ut2004-win64.log"}}},
      {-1, {"ut2003.log", "ut2003.ini", "User.ini", "ut2003.exe", true}},
      {7, {"ut2003.log", "ut2003.ini", "User.ini", "ut2003.exe", true}},
  };
  for (const auto& c : cases) EXPECT_EQ(GameProfileFor(c.index), c.profile) << c.index;
}

TEST(GameProfiles, GameFilesFoundWithoutRegardToCase) {
  TempDir dir;
  dir.Write("game/System/touser.ini", "x");
  const QString gameDir = dir.Path() + "/game/";
  EXPECT_EQ(GameFilePath(gameDir, "TOUser.ini"), gameDir + "System/touser.ini");
  EXPECT_EQ(GameFilePath(gameDir, "tacticalops.log"), gameDir + "System/tacticalops.log");
  EXPECT_EQ(GameSystemDir(gameDir), gameDir + "System");
  EXPECT_EQ(GameFilePath("", "User.ini"), "system/User.ini");
}

}  // namespace
}  // namespace game
