// Logs the games wrote themselves (tests/support/real_logs/SOURCES.md says
// where each comes from), cut where the player was doing something known:
// the scan behind the first report after login must say where that was.
#include <gtest/gtest.h>

#include <QFile>

#include "presence/game_log_scanner.h"
#include "support/temp_dir.h"

using namespace presence;
using testing_support::TempDir;

namespace {

std::string RealLog(const char* file) {
  QFile f(QStringLiteral(QUAVIK_TEST_SUPPORT_DIR "/real_logs/") + QString::fromLatin1(file));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

// The native builds write their User.ini with LF line ends too.
const std::string kUserIni = "[Engine.Input]\nF=Fire\n[DefaultPlayer]\nName=IniName\n";
const PlayerLocation kSearching{"IniName", kSearchingPlaceholder, kSearchingPlaceholder};

struct Case {
  const char* name;
  const char* file;
  LogFormat format;
  std::string cutAfter;  // the log ends right after the first occurrence; "" keeps it whole
  std::string appended;  // what the game writes next, if anything
  bool offline;
  std::optional<PlayerLocation> expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::string LogOf(const Case& c) {
  std::string log = RealLog(c.file);
  if (!c.cutAfter.empty()) {
    const size_t at = log.find(c.cutAfter);
    if (at == std::string::npos) return {};
    log.resize(at + c.cutAfter.size());
  }
  return log + c.appended;
}

class RealLogCut : public ::testing::TestWithParam<Case> {};

TEST_P(RealLogCut, ScanSaysWhereThePlayerWas) {
  const Case& c = GetParam();
  const std::string log = LogOf(c);
  ASSERT_FALSE(log.empty()) << "fixture or cut missing";
  TempDir dir;
  dir.Write("System/User.ini", kUserIni);
  dir.Write("System/game.log", log);
  EXPECT_EQ(ScanGameLog(dir.File("System/game.log"), dir.File("TacticalOps.sik"), dir.File("System/User.ini"),
                        c.offline, c.format),
            c.expected);
}

constexpr LogFormat kEngine2 = LogFormat::BrowseAndLevel;
constexpr LogFormat kEngine1 = LogFormat::LoadMap;
const char* const kUt2004 = "ut2004_3369_linux.log";
const char* const kUt436 = "ut436_linux.log";
const char* const kUt469 = "ut469b_windows_excerpt.log";
const std::string kTorlanUp =
    "Log: Bringing Level ONS-Torlan-PhoenixParadise-RMD.myLevel up for play (90) appSeconds: 51.547783...\n";
const PlayerLocation kOnTorlan{"Ling_On_Linux", "63.211.105.170", "ONS-Torlan-PhoenixParadise-RMD"};
const PlayerLocation kOnAutoRip{"Buggie", "81.169.240.101", "MH-AutoRIP(SB)"};

INSTANTIATE_TEST_SUITE_P(
    Cases, RealLogCut,
    ::testing::Values(
        Case{"Ut2004MainMenuAfterStartUp", kUt2004, kEngine2, "Log: Failed; returning to Entry\n", "", false,
             kSearching},
        Case{"Ut2004JoiningMapNotUpYet", kUt2004, kEngine2, "Log: NetMode now NM_Client\n", "", false,
             kSearching},
        Case{"Ut2004LevelLineStillBeingWritten", kUt2004, kEngine2, "Log: Bringing Level ONS-Torlan-Phoe", "",
             false, kSearching},
        Case{"Ut2004OnTheServer", kUt2004, kEngine2, kTorlanUp, "", false, kOnTorlan},
        Case{"Ut2004OnTheServerLoggingOut", kUt2004, kEngine2, kTorlanUp, "", true,
             PlayerLocation{"IniName", kOfflinePlaceholder, kOfflinePlaceholder}},
        Case{"Ut2004AfterQuitting", kUt2004, kEngine2, "", "", false, kSearching},
        // While the intro's LoadMap line is still being written, the start-up
        // line "LoadMap: Entry" is the last: it names no one, so no report goes out.
        Case{"Ut436IntroLineStillBeingWritten", kUt436, kEngine1,
             "?Face=SoldierSkins.Othello\nLog: LoadMap: CityIntro.unr", "", false, PlayerLocation{"", "", ""}},
        Case{"Ut436OfflineIntroWritten", kUt436, kEngine1, "Log: Case-insensitive search: genfluid", "", false,
             kSearching},
        Case{"Ut436AfterQuitting", kUt436, kEngine1, "", "", false, kSearching},
        // The stored copy ends inside the LoadMap line: nothing to go by yet.
        Case{"Ut469LoadMapStillBeingWritten", kUt469, kEngine1, "", "", false, std::nullopt},
        Case{"Ut469OnTheServer", kUt469, kEngine1, "", "\r\n", false, kOnAutoRip}),
    [](const auto& info) { return std::string(info.param.name); });

// A native UT 469c or later writes the same lines with LF and as UTF-8 behind
// a byte order mark: this is the excerpt above as such a build writes it,
// with a name that needs UTF-8.
TEST(RealLogCut, Utf8LogWithByteOrderMark) {
  std::string log = "\xEF\xBB\xBF" + RealLog(kUt469) + "\r\n";
  std::string lf;
  for (char c : log)
    if (c != '\r') lf += c;
  for (size_t at = lf.find("Name=Buggie"); at != std::string::npos; at = lf.find("Name=Buggie", at + 1))
    lf.replace(at, 11, "Name=B\xC3\xBCggie");
  TempDir dir;
  dir.Write("System/User.ini", kUserIni);
  dir.Write("System/game.log", lf);
  EXPECT_EQ(ScanGameLog(dir.File("System/game.log"), dir.File("TacticalOps.sik"), dir.File("System/User.ini"),
                        false, kEngine1),
            (PlayerLocation{"Büggie", "81.169.240.101", "MH-AutoRIP(SB)"}));
}

// The game writes its log in blocks, cutting lines anywhere. Scans of the
// growing log (each reading on from the last) say what a scan of the same
// bytes with no history says.
TEST(RealLogCut, LogGrowingInBlocksReadsAsAWholeScan) {
  for (const auto& [file, format] : {std::pair{kUt2004, kEngine2}, std::pair{kUt436, kEngine1}}) {
    const std::string log = RealLog(file);
    ASSERT_FALSE(log.empty()) << file;
    TempDir dir;
    dir.Write("System/User.ini", kUserIni);
    const QString user = dir.File("System/User.ini");
    for (size_t end = 0; end <= log.size() + 200; end += 200) {
      dir.Write("System/game.log", log.substr(0, std::min(end, log.size())));
      const auto followed = ScanGameLog(dir.File("System/game.log"), dir.File("followed.sik"), user, false, format);
      const auto fresh = ScanGameLog(dir.File("System/game.log"), dir.File("fresh.sik"), user, false, format);
      QFile::remove(dir.File("fresh.sik"));
      ASSERT_EQ(followed, fresh) << file << " cut at " << end;
    }
  }
}

}  // namespace
