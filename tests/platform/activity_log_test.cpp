// The activity log's line format and its file behaviour.
#include <gtest/gtest.h>

#include <QLocale>

#include "platform/os/activity_log.h"
#include "platform/os/errors.h"
#include "support/temp_dir.h"

using testing_support::TempDir;

TEST(ActivityLog, LineFormatLinesUpTheMarkers) {
  EXPECT_EQ(platform::FormatActivityLine("06.12.2026", "17:33:57", true, "Lese Quavikkonfiguration"),
            "06.12.2026, 17:33:57: START Lese Quavikkonfiguration");
  EXPECT_EQ(platform::FormatActivityLine("06.12.2026", "17:33:57", false, "Lese Quavikkonfiguration"),
            "06.12.2026, 17:33:57:   END Lese Quavikkonfiguration");
}

TEST(ActivityLog, GermanLocaleGivesTheFamiliarLine) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  TempDir dir;
  platform::ActivityLog log(true, dir.File("quavik.log"));
  log.Start(QString::fromUtf8("Definiere Logs/Inifiles für App"));
  QLocale::setDefault(saved);
  const std::string line = dir.Read("quavik.log");
  // dd.MM.yyyy, HH:mm:ss: START ... in Windows-1252 with CR LF.
  ASSERT_EQ(line.size(), 22u + 6u + 31u + 2u) << line;
  EXPECT_EQ(line.substr(2, 1), ".");
  EXPECT_EQ(line.substr(5, 1), ".");
  EXPECT_EQ(line.substr(10, 2), ", ");
  EXPECT_EQ(line.substr(20, 2), ": ");
  EXPECT_EQ(line.substr(22), "START Definiere Logs/Inifiles f\xFCr App\r\n");
}

TEST(ActivityLog, AppendsAndOffWritesNothing) {
  TempDir dir;
  dir.Write("quavik.log", "old line\r\n");
  platform::ActivityLog on(true, dir.File("quavik.log"));
  on.Start("a");
  on.End("a");
  const std::string content = dir.Read("quavik.log");
  EXPECT_EQ(content.rfind("old line\r\n", 0), 0u);
  EXPECT_NE(content.find("START a\r\n"), std::string::npos);
  EXPECT_NE(content.find("  END a\r\n"), std::string::npos);

  platform::ActivityLog off(false, dir.File("off.log"));
  off.Start("a");
  EXPECT_FALSE(dir.Exists("off.log"));
}

TEST(ActivityLog, ScopeLeavesStartWithoutEndWhenTheOperationRaises) {
  TempDir dir;
  platform::ActivityLog log(true, dir.File("quavik.log"));
  try {
    platform::ActivityScope scope(log, "Sende Spielerstandort");
    throw platform::IoError("boom");
  } catch (const platform::IoError&) {
  }
  const std::string content = dir.Read("quavik.log");
  EXPECT_NE(content.find("START Sende Spielerstandort"), std::string::npos);
  EXPECT_EQ(content.find("END Sende Spielerstandort"), std::string::npos);
}

TEST(ActivityLog, UnwritableLogRaises) {
  platform::ActivityLog log(true, "/nonexistent-dir/quavik.log");
  EXPECT_THROW(log.Start("x"), platform::IoError);
}
