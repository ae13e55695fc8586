// Where the program's own files go: beside a writable program directory,
// otherwise in the user's configuration and cache directories.
#include <gtest/gtest.h>

#include "platform/paths.h"

using platform::ChooseProgramFilePlaces;

namespace {

struct PlacesCase {
  const char* name;
  bool writable;
  const char* xdgConfigHome;
  const char* xdgCacheHome;
  const char* settingsDir;
  const char* tempDir;
};

void PrintTo(const PlacesCase& c, std::ostream* os) { *os << c.name; }

class ProgramFilePlacesTest : public testing::TestWithParam<PlacesCase> {};

TEST_P(ProgramFilePlacesTest, FollowsTheRule) {
  const PlacesCase& c = GetParam();
  const auto places = ChooseProgramFilePlaces("/opt/quavik/bin", c.writable, c.xdgConfigHome,
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

}  // namespace
