// The pure rules of the directory tree: names, menu enabling, path matching,
// entry texts, size texts and the five languages.
#include <gtest/gtest.h>

#include "dirtree/dir_listing.h"
#include "dirtree/dir_tree_texts.h"
#include "dirtree/drive_list.h"
#include "dirtree/folder_name.h"
#include "dirtree/menu_rules.h"
#include "dirtree/network_drives.h"
#include "dirtree/tree_size.h"

using namespace dirtree;

TEST(FolderName, RejectsEmptyDotsAndTheFourteenCharacters) {
  for (const char* bad : {"", ".", "..", "a\\b", "a*", "a?", "a/b", "a=b", "a\"b", "a<b", "a>b", "a|b", "C:",
                          "a,b", "a;b", "a+b", "a^b"})
    EXPECT_FALSE(IsValidFolderName(QString::fromUtf8(bad))) << bad;
  for (const char* good : {"Games", "Tactical Ops", "UT2004 (old)", ".hidden", "a.b", "Übung", "x-y_z", "..."})
    EXPECT_TRUE(IsValidFolderName(QString::fromUtf8(good))) << good;
}

TEST(MenuRules, EnablingFollowsTheSelection) {
  struct Row {
    MenuItem item;
    bool none, root, drive, folder, folderWithPaste;
  };
  const Row rows[] = {
      {MenuItem::AddNode, false, false, true, true, true},
      {MenuItem::EditNode, false, false, false, true, true},
      {MenuItem::DelNode, false, false, false, true, true},
      {MenuItem::CutNode, false, false, false, true, true},
      {MenuItem::CopyNode, false, false, false, true, true},
      {MenuItem::PasteNode, false, false, false, false, true},
      {MenuItem::GetTreeSize, false, false, true, true, true},
      {MenuItem::ShowFolderContents, false, false, true, true, true},
      {MenuItem::ConnectNetResource, true, true, true, true, true},
      {MenuItem::DisConnectNetResource, true, true, true, true, true},
      {MenuItem::ItemProperty, false, false, true, true, true},
  };
  for (const Row& r : rows) {
    const int i = int(r.item);
    EXPECT_EQ(MenuItemEnabled(r.item, EntryKind::None, true), r.none) << i;
    EXPECT_EQ(MenuItemEnabled(r.item, EntryKind::Root, true), r.root) << i;
    EXPECT_EQ(MenuItemEnabled(r.item, EntryKind::Drive, true), r.drive) << i;
    EXPECT_EQ(MenuItemEnabled(r.item, EntryKind::Folder, false), r.folder) << i;
    EXPECT_EQ(MenuItemEnabled(r.item, EntryKind::Folder, true), r.folderWithPaste) << i;
  }
}

TEST(PathMatching, ExactSpellingFirstThenWithoutCase) {
  const QStringList names{"GAMES", "Games", "music", "Übung"};
  EXPECT_EQ(MatchName(names, "Games"), 1);
  EXPECT_EQ(MatchName(names, "games"), 0);  // first in tree order without regard to case
  EXPECT_EQ(MatchName(names, "MUSIC"), 2);
  EXPECT_EQ(MatchName(names, "übung"), 3);
  EXPECT_EQ(MatchName(names, "Video"), -1);

  const std::vector<QString> roots{"/", "/home/u/", "/home/u/.wine/drive_c/", "/media/USB/"};
  EXPECT_EQ(MatchDriveRoot(roots, "/usr/games/"), 0);
  EXPECT_EQ(MatchDriveRoot(roots, "/home/u/Games/"), 1);
  EXPECT_EQ(MatchDriveRoot(roots, "/home/u/.wine/drive_c/TO/"), 2);  // the longest root wins
  EXPECT_EQ(MatchDriveRoot(roots, "/home/user2/"), 0);               // a root ends at a separator
  EXPECT_EQ(MatchDriveRoot(roots, "/media/USB/Games/"), 3);
  // Another spelling only when no root matches as spelt (a folder on a
  // file system that ignores case).
  EXPECT_EQ(MatchDriveRoot(roots, "/media/usb/Games/"), 0);
  EXPECT_EQ(MatchDriveRoot({"/home/u/", "/media/USB/"}, "/media/usb/Games/"), 1);
  EXPECT_EQ(MatchDriveRoot({"/home/u/"}, "/etc/"), -1);
}

TEST(DriveText, BlankIdTwoBlanksNameBlank) {
  EXPECT_EQ(DriveEntryText({"C:", "Local Disk (C:)", "/c/"}), " (C:)  Local Disk ");
  EXPECT_EQ(DriveEntryText({"sdb1", "Games", "/media/games/"}), " (sdb1)  Games ");
  EXPECT_EQ(DriveEntryText({"/", "(root)", "/"}), " (/)  ");
}

TEST(DriveText, GvfsMountNamesReadAsShareAndServer) {
  EXPECT_EQ(GvfsDisplayName("smb-share:server=fileserver,share=games"), "games on fileserver");
  EXPECT_EQ(GvfsDisplayName("sftp:host=example.org,user=anna"), "anna@example.org");
  EXPECT_EQ(GvfsDisplayName("ftp:host=ftp.example.org"), "ftp.example.org");
  EXPECT_EQ(GvfsDisplayName("smb-share:server=nas,share=my%20games"), "my games on nas");
  EXPECT_EQ(GvfsDisplayName("odd"), "odd");
}

TEST(NetworkAddress, OnlyMountableSchemesWithAHost) {
  for (const char* good : {"smb://server/share", "sftp://user@host/home", "ftp://ftp.example.org", "dav://host/x",
                           "davs://host/x", " smb://nas/games "})
    EXPECT_TRUE(IsNetworkAddress(good)) << good;
  for (const char* bad : {"", "smb://", "http://host/x", "file:///tmp", "/mnt/share", "server/share", "smb:share"})
    EXPECT_FALSE(IsNetworkAddress(bad)) << bad;
}

TEST(TreeSizeText, TheBoxInEnglishAndGermanSeparators) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(TreeSizeText(lnEnglish, TreeSizeSubject(lnEnglish, false, "TacticalOps"), 1500, english),
            "===== TREE SIZE =====\n\nFolder \"TacticalOps\"\nand all its Sub-Folders \n =  1,500 Bytes\n"
            "     (i.e. 1.46 KB )");
  EXPECT_EQ(TreeSizeSubject(lnEnglish, true, "/media/games/"), "Drive /media/games/");
  const QLocale german(QLocale::German, QLocale::Germany);
  EXPECT_TRUE(TreeSizeText(lnEnglish, "x", 1234567, german).contains(" =  1.234.567 Bytes\n     (i.e. 1.205,63 KB )"));
}

TEST(TreeSizeText, ShortForm) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  struct Row {
    std::uint64_t bytes;
    const char* shown;
  };
  const Row rows[] = {
      {0, "0.00 KB"},
      {1, "1.00 KB"},
      {1023, "1.00 KB"},
      {1024, "1.00 KB"},
      {1536, "1.50 KB"},
      {99999ull * 1024, "99,999.00 KB"},
      {100000ull * 1024, "97.66 MB"},
      {5ull * 1024 * 1024 * 1024, "5,120.00 MB"},  // beyond 32 bits
  };
  for (const Row& r : rows) EXPECT_EQ(ShortSize(r.bytes, lnEnglish, english), r.shown) << r.bytes;
}

TEST(Languages, EveryLanguageCarriesEveryText) {
  for (const TLanguage language : {lnEnglish, lnFrench, lnGerman, lnSpanish, lnPortuguese}) {
    for (int i = 0; i < int(Text::Count); ++i) {
      EXPECT_FALSE(Tr(language, Text(i)).isEmpty()) << "language " << language << " text " << i;
      if (language != lnEnglish && Text(i) != Text::Computer && Text(i) != Text::UnitKB && Text(i) != Text::UnitMB &&
          Text(i) != Text::OkButton && Text(i) != Text::TreeSizeBytes && Text(i) != Text::Copy &&
          Text(i) != Text::NoButton && Text(i) != Text::ErrorPrefix && Text(i) != Text::PropTypeFolder &&
          Text(i) != Text::TreeSizeFolder && Text(i) != Text::PropType) {
        EXPECT_NE(Tr(language, Text(i)), Tr(lnEnglish, Text(i))) << "untranslated: language " << language << " text " << i;
      }
    }
    EXPECT_TRUE(Tr(language, Text::PropContainsValue).contains("%1") && Tr(language, Text::PropContainsValue).contains("%2"));
    EXPECT_TRUE(Tr(language, Text::CantOpenFile).contains("%1"));
    for (int i = 0; i < int(Text::Count); ++i) {
      const QString text = Tr(language, Text(i));
      if (text.contains(u'¿')) {
        EXPECT_GT(text.indexOf('?'), text.indexOf(u'¿')) << "unclosed question: " << i;
      }
    }
  }
  EXPECT_EQ(Tr(lnEnglish, Text::NewFolder), "&New Folder");
  EXPECT_EQ(Tr(lnEnglish, Text::DisconnectNetworkDrive), "Dis&Connect Network Drive");
}

TEST(Languages, SystemDefaultFollowsTheUsersLanguage) {
  EXPECT_EQ(ResolveLanguage(lnSysDefault, QLocale::German), lnGerman);
  EXPECT_EQ(ResolveLanguage(lnSysDefault, QLocale::Spanish), lnSpanish);
  EXPECT_EQ(ResolveLanguage(lnSysDefault, QLocale::French), lnFrench);
  EXPECT_EQ(ResolveLanguage(lnSysDefault, QLocale::Portuguese), lnPortuguese);
  EXPECT_EQ(ResolveLanguage(lnSysDefault, QLocale::Japanese), lnEnglish);
  EXPECT_EQ(ResolveLanguage(lnGerman, QLocale::French), lnGerman);
}
