// Where the program's own files go: beside a writable program directory,
// otherwise in the user's configuration and cache directories; and when a
// program counts as installed.
#include <gtest/gtest.h>

#include "platform/os/paths.h"
#include "support/temp_dir.h"

using platform::ChooseProgramFilePlaces;

namespace {

struct PlacesCase {
  const char* name;
  bool besideProgram;
  const char* xdgConfigHome;
  const char* xdgCacheHome;
  const char* settingsDir;
  const char* tempDir;
};

void PrintTo(const PlacesCase& c, std::ostream* os) { *os << c.name; }

class ProgramFilePlacesTest : public testing::TestWithParam<PlacesCase> {};

TEST_P(ProgramFilePlacesTest, FollowsTheRule) {
  const PlacesCase& c = GetParam();
  const auto places = ChooseProgramFilePlaces("/opt/quavik/bin", c.besideProgram, c.xdgConfigHome,
                                              c.xdgCacheHome, "/home/kim", "quavik");
  EXPECT_EQ(places.settingsDir, c.settingsDir);
  EXPECT_EQ(places.tempDir, c.tempDir);
}

const PlacesCase kPlacesCases[] = {
    {"WritableKeepsEverythingBesideTheProgram", true, "/xdg/config", "/xdg/cache", "/opt/quavik/bin",
     "/opt/quavik/bin"},
    {"WritableWithoutVariables", true, "", "", "/opt/quavik/bin", "/opt/quavik/bin"},
    {"UnwritableUsesTheVariables", false, "/xdg/config", "/xdg/cache", "/xdg/config/quavik",
     "/xdg/cache/quavik"},
    {"UnwritableVariablesWithTrailingSlash", false, "/xdg/config/", "/xdg/cache/", "/xdg/config/quavik",
     "/xdg/cache/quavik"},
    {"UnwritableUnsetVariablesMeanTheHomeDefaults", false, "", "", "/home/kim/.config/quavik",
     "/home/kim/.cache/quavik"},
    {"UnwritableOneVariableSet", false, "", "/xdg/cache", "/home/kim/.config/quavik", "/xdg/cache/quavik"},
    {"UnwritableRelativeVariablesAreIgnored", false, "config", "./cache", "/home/kim/.config/quavik",
     "/home/kim/.cache/quavik"},
};

INSTANTIATE_TEST_SUITE_P(Rule, ProgramFilePlacesTest, testing::ValuesIn(kPlacesCases),
                         [](const auto& info) { return std::string(info.param.name); });

// An installed copy keeps nothing beside itself even when it could write
// there (root can write to /usr/bin); a build or unpacked copy does.
TEST(InstalledWithMenuEntry, PrefixWithTheEntryOnly) {
  testing_support::TempDir dir;
  dir.Write("usr/bin/quavik", "");
  dir.Write("usr/share/applications/de.quavik.Quavik.desktop", "[Desktop Entry]\n");
  dir.Write("build/quavik", "");
  dir.Write("unpacked/bin/quavik", "");
  dir.Write("unpacked/share/applications/other.desktop", "");
  const QString entry = "de.quavik.Quavik.desktop";
  EXPECT_TRUE(platform::InstalledWithMenuEntry(dir.File("usr/bin"), entry));
  EXPECT_FALSE(platform::InstalledWithMenuEntry(dir.File("build"), entry));
  EXPECT_FALSE(platform::InstalledWithMenuEntry(dir.File("unpacked/bin"), entry));
  EXPECT_FALSE(platform::InstalledWithMenuEntry(dir.File("usr/share/applications"), entry));
}

}  // namespace
