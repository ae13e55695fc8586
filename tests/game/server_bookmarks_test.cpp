// The game's favourite servers as bookmarks.
#include <gtest/gtest.h>

#include "game/server_bookmarks.h"
#include "support/activity_lines.h"
#include "support/temp_dir.h"

using namespace game;

namespace {

TEST(SplitFavorite, NameAndAddress) {
  const QString forty(40, QLatin1Char('x'));
  const struct {
    QString value;
    Favorite expected;
  } cases[] = {
      {"Clan Server\\10.0.0.5\\7777\\True", {"Clan Server", "10.0.0.5"}},
      {"Clan Server\\10.0.0.5:7777\\", {"Clan Server", "10.0.0.5:7777"}},
      {"Host\\clan.example.com\\x", {"Host", "clan.example.com"}},
      {"no backslash at all", {"", ""}},
      {"Name\\address without end", {"Name", ""}},
      {"\\1.2.3.4\\x", {"", "1.2.3.4"}},
      // The address must be closed within the 40 characters after the first
      // backslash: at 40 characters it is not, at 39 it is.
      {"N\\" + forty + "\\x", {"N", ""}},
      {"N\\" + forty.left(39) + "\\x", {"N", forty.left(39)}},
      // Without a first backslash the rest is the first 40 characters.
      {"abc", {"", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitFavorite(c.value), c.expected) << c.value.toStdString();
  }
}

const char kGameIni[] =
    "[URL]\r\nProtocol=unreal\r\nPort=7777\r\n\r\n"
    "[UBrowser.UBrowserFavoritesFact]\r\n"
    "FavoriteCount=5\r\n"
    "Favorites[0]=Clan Server\\10.0.0.5\\7777\\True\r\n"
    "Favorites[1]=Training\\192.168.1.20:8888\\8888\\False\r\n"
    "Favorites[2]=\r\n"
    "Favorites[5]=Public \xC4rena\\203.0.113.9\\7777\\False\r\n"
    "Favorites[99]=Last\\198.51.100.1\\7777\\False\r\n"
    "Favorites[100]=Too Far\\198.51.100.2\\7777\\False\r\n"
    "\r\n[Engine.GameEngine]\r\nCacheSizeMegs=32\r\n";

// The entries and addresses the favourites of kGameIni give.
void ExpectTheFavouritesOfTheGameIni(const ServerBookmarks& bookmarks) {
  EXPECT_EQ(bookmarks.entries,
            (QStringList{"", "Clan Server", "Training", QStringLiteral("Public Ärena"), "Last"}));
  EXPECT_EQ(bookmarks.addresses,
            (QStringList{"10.0.0.5", "192.168.1.20:8888", "203.0.113.9", "198.51.100.1"}));
}

// A native UT 469 writes its UnrealTournament.ini with LF line ends, and
// from 469c on as UTF-8 behind a byte order mark: the same favourites.
TEST(ServerBookmarks, NativeIniWithLfAndUtf8ReadsTheSame) {
  std::string native = "\xEF\xBB\xBF";
  for (const char* p = kGameIni; *p; ++p) {
    if (*p == '\r') continue;
    if (*p == '\xC4') {
      native += "\xC3\x84";  // the same letter in UTF-8
    } else {
      native += *p;
    }
  }
  testing_support::TempDir dir;
  testing_support::ActivityLines activity;
  const ServerBookmarks bookmarks =
      ReadServerBookmarks(dir.Write("System/UnrealTournament.ini", native), activity.Log());
  ExpectTheFavouritesOfTheGameIni(bookmarks);
}

TEST(ServerBookmarks, ReadsAllHundredKeysInOrder) {
  testing_support::TempDir dir;
  testing_support::ActivityLines activity;
  const ServerBookmarks bookmarks =
      ReadServerBookmarks(dir.Write("system/tacticalops.ini", kGameIni), activity.Log());
  ExpectTheFavouritesOfTheGameIni(bookmarks);
  EXPECT_EQ(BookmarkHint(bookmarks, 3), QStringLiteral("Public Ärena mit Server-IP 203.0.113.9"));
  EXPECT_EQ(BookmarkServerText(bookmarks, 2), "192.168.1.20:8888");
  for (int noBookmark : {0, -1, 5}) {
    EXPECT_EQ(BookmarkHint(bookmarks, noBookmark), QStringLiteral("Kein Server gewählt..."));
    EXPECT_EQ(BookmarkServerText(bookmarks, noBookmark), "");
  }
  EXPECT_EQ(activity.Entries(), (QStringList{"START Lese Server-Bookmarks aus INI",
                                             "  END Lese Server-Bookmarks aus INI"}));
}

TEST(ServerBookmarks, EntryWithoutBackslashNamesNoServer) {
  testing_support::TempDir dir;
  const ServerBookmarks bookmarks = ReadServerBookmarks(
      dir.Write("g.ini", "[UBrowser.UBrowserFavoritesFact]\r\nFavorites[3]=plain\r\n"),
      platform::ActivityLog());
  EXPECT_EQ(bookmarks.entries, (QStringList{"", ""}));
  EXPECT_EQ(BookmarkHint(bookmarks, 1), " mit Server-IP ");
  EXPECT_EQ(BookmarkServerText(bookmarks, 1), "");
}

TEST(ServerBookmarks, MissingIniGivesNoEntriesAtAll) {
  testing_support::TempDir dir;
  const ServerBookmarks bookmarks = ReadServerBookmarks(dir.File("missing.ini"), platform::ActivityLog());
  EXPECT_TRUE(bookmarks.entries.isEmpty());
  EXPECT_TRUE(bookmarks.addresses.isEmpty());
  EXPECT_EQ(BookmarkServerText(bookmarks, 0), "");
  // An INI without the section still offers the empty entry.
  EXPECT_EQ(ReadServerBookmarks(dir.Write("other.ini", "[URL]\r\n"), platform::ActivityLog()).entries,
            QStringList{""});
}

}  // namespace
