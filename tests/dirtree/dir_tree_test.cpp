// The directory tree widget over real temp folders.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

#include "dirtree/folder_contents_window.h"
#include "dirtree/folder_properties.h"
#include "tree_fixture.h"
#include "user_home.h"

using dirtree::EntryKind;
using dirtree::MenuItem;
using dirtree_tests::TreeFixture;

namespace {

bool HasButton(QTreeWidgetItem* entry) {
  return entry->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator || entry->childCount() > 0;
}

QString LastBox(const TreeFixture& f) { return f.dialogs.boxes.empty() ? QString() : f.dialogs.boxes.back().text; }

}  // namespace

TEST(DirTree, LevelsLoadLazilyWithTheExpandButtonRule) {
  TreeFixture f;
  QTreeWidgetItem* root = f.tree->RootEntry();
  EXPECT_EQ(root->text(0), "Computer");
  EXPECT_TRUE(root->isExpanded());
  ASSERT_EQ(root->childCount(), 3);
  EXPECT_EQ(f.Drive(0)->text(0), " (C:)  Disk ");
  EXPECT_EQ(f.Drive(2)->text(0), " (D:)  CD ");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(HasButton(f.Drive(i)));
    EXPECT_EQ(f.Drive(i)->childCount(), 0) << "read before it was expanded";
  }
  f.tree->LoadChildren(f.Drive(0));
  EXPECT_EQ(f.Children(f.Drive(0)), (QStringList{"Empty", "Games", "Music"}));
  QTreeWidgetItem* games = f.Entry(0, {"Games"});
  EXPECT_TRUE(HasButton(games));
  EXPECT_FALSE(HasButton(f.Entry(0, {"Empty"})));
  EXPECT_EQ(games->childCount(), 0);
  f.tree->LoadChildren(f.Entry(0, {"Games", "TacticalOps"}));
  EXPECT_EQ(f.Children(f.Entry(0, {"Games", "TacticalOps"})), QStringList{"System"});
  // On a network drive every folder gets the button.
  EXPECT_TRUE(HasButton(f.Entry(1, {"Plain"})));
  // Expanding a folder without subfolders takes its button away.
  f.tree->LoadChildren(f.Entry(1, {"Plain"}));
  EXPECT_FALSE(HasButton(f.Entry(1, {"Plain"})));
}

TEST(DirTree, PathsOfRootDriveAndFolder) {
  TreeFixture f;
  EXPECT_EQ(f.tree->PathOf(f.tree->RootEntry()), "");
  EXPECT_EQ(f.tree->PathOf(f.Drive(0)), f.C());
  EXPECT_TRUE(f.tree->PathOf(f.Drive(0)).endsWith('/'));
  EXPECT_EQ(f.tree->PathOf(f.Entry(0, {"Games", "TacticalOps"})), f.C("Games/TacticalOps"));
  EXPECT_EQ(f.tree->KindOf(f.Drive(1)), EntryKind::Drive);
  EXPECT_EQ(f.tree->KindOf(f.Entry(0, {"Games"})), EntryKind::Folder);
}

TEST(DirTree, AFolderThatCantBeReadShowsNoChildrenAndNoBox) {
  TreeFixture f;
  QTreeWidgetItem* games = f.Entry(0, {"Games"});
  QDir(f.C("Games")).removeRecursively();  // gone before it is expanded
  f.tree->LoadChildren(games);
  EXPECT_EQ(games->childCount(), 0);
  EXPECT_FALSE(HasButton(games));
  EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(DirTree, AMousePressOnLabelOrIconSelects) {
  TreeFixture f;
  struct Follower : TDirTreeFileList {
    QStringList dirs;
    void SetDirectory(const QString& path) override { dirs << path; }
  } follower;
  f.tree->FileList = &follower;
  QTreeWidgetItem* tactical = f.Entry(0, {"Games", "TacticalOps"});
  f.Click(tactical);
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games/TacticalOps"));
  EXPECT_EQ(f.dirChanges, QStringList{f.C("Games/TacticalOps")});

  // Neither a press on the free space right of a label nor a drag from one
  // label to another moves the highlight off what SelectedPath names.
  QTreeWidgetItem* music = f.Entry(0, {"Music"});
  f.Click(music, 300);
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games/TacticalOps"));
  EXPECT_EQ(f.dirChanges.size(), 1);
  EXPECT_EQ(f.tree->currentItem(), tactical);
  EXPECT_EQ(f.tree->selectedItems(), QList<QTreeWidgetItem*>{tactical});
  const QPoint from = f.tree->visualItemRect(tactical).topLeft() + QPoint(8, 4);
  const QPoint to = f.tree->visualItemRect(music).topLeft() + QPoint(8, 4);
  QTest::mousePress(f.tree->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(f.tree->viewport(), to);
  QTest::mouseRelease(f.tree->viewport(), Qt::LeftButton, {}, to);
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games/TacticalOps"));
  EXPECT_EQ(f.tree->currentItem(), tactical);
  EXPECT_EQ(f.tree->selectedItems(), QList<QTreeWidgetItem*>{tactical});

  f.Click(f.Drive(0));
  EXPECT_EQ(f.tree->SelectedPath(), f.C());
  f.Click(f.tree->RootEntry());
  EXPECT_EQ(f.tree->SelectedPath(), "Drives");
  EXPECT_EQ(f.dirChanges.last(), "Drives");
  EXPECT_EQ(follower.dirs, f.dirChanges);
  f.tree->FileList = nullptr;
}

TEST(DirTree, ADriveWithoutMediumWarnsAndRaisesNoEvent) {
  TreeFixture f;
  f.Click(f.Drive(2));
  EXPECT_EQ(f.tree->SelectedPath(), f.dir.File("cd/"));
  ASSERT_EQ(f.dialogs.boxes.size(), 1u);
  EXPECT_EQ(f.dialogs.boxes[0].text, "There is no disk in Drive or Drive is not ready");
  EXPECT_EQ(f.dialogs.boxes[0].buttons, platform::Buttons::Ok);
  EXPECT_EQ(f.dialogs.boxes[0].kind, platform::BoxKind::Warning);
  EXPECT_EQ(f.dialogs.beeps, std::vector<platform::Beep>{platform::Beep::Error});
  EXPECT_TRUE(f.dirChanges.isEmpty());
}

TEST(DirTree, ReleasingAnArrowKeySelects) {
  TreeFixture f;
  f.tree->LoadChildren(f.Drive(0));
  f.Click(f.Entry(0, {"Empty"}));
  f.tree->setFocus();
  QTest::keyClick(f.tree.get(), Qt::Key_Down);
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games"));
  EXPECT_EQ(f.dirChanges.last(), f.C("Games"));
}

TEST(DirTree, NavigationOpensThePathAndStopsAtAMissingComponent) {
  TreeFixture f;
  f.tree->NavigateTo(f.C("Games/TacticalOps/System"));
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games/TacticalOps/System/"));
  EXPECT_EQ(f.tree->currentItem(), f.Entry(0, {"Games", "TacticalOps", "System"}));
  EXPECT_TRUE(f.Entry(0, {"Games", "TacticalOps"})->isExpanded());
  EXPECT_FALSE(f.Entry(0, {"Music"})->isExpanded());
  EXPECT_EQ(f.dirChanges, QStringList{f.C("Games/TacticalOps/System/")});

  // Nothing happens for these; the path selected already raises no second event.
  for (const QString& path : {QString(), QString("Games"), f.C("Nowhere"), QString("relative/path"),
                              f.C("Games/TacticalOps/System"), f.C("Games/TacticalOps/System/")})
    f.tree->NavigateTo(path);
  EXPECT_EQ(f.dirChanges.size(), 1);

  // A folder made after its parent was read isn't in the tree: navigation
  // ends there, SelectedPath stays and so does the highlight.
  QDir().mkpath(f.C("Games/Later"));
  f.tree->NavigateTo(f.C("Games/Later"));
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games/TacticalOps/System/"));
  EXPECT_EQ(f.dirChanges.size(), 1);
  QTreeWidgetItem* highlighted = f.tree->currentItem();
  EXPECT_EQ(highlighted, f.Entry(0, {"Games", "TacticalOps", "System"}));
  EXPECT_EQ(f.tree->selectedItems(), QList<QTreeWidgetItem*>{highlighted});
}

TEST(DirTree, F5RebuildsAndReturnsToTheSelection) {
  TreeFixture f;
  f.Click(f.Entry(0, {"Games", "UT"}));
  QDir().mkpath(f.C("Games/Later"));
  QTest::keyClick(f.tree.get(), Qt::Key_F5);
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games/UT/"));
  EXPECT_EQ(f.tree->currentItem()->text(0), "UT");
  EXPECT_TRUE(f.Children(f.Entry(0, {"Games"})).contains("Later"));
}

TEST(DirTree, LabelEditOutcomes) {
  struct Row {
    const char* name;
    platform::Answer answer;
    const char* box;  // last box, "" for none
    bool renamed;
  };
  const Row rows[] = {
      {"a:b", platform::Answer::Ok, "Error - Invalid Directory Name\na:b", false},
      {"x+y", platform::Answer::Ok, "Error - Invalid Directory Name\nx+y", false},
      {"", platform::Answer::Ok, "", false},
      {"UT", platform::Answer::Yes, "The folder could not be renamed:", false},  // exists
      {"Renamed", platform::Answer::No, "Do you want to rename the selected folder\n\n    From  : TacticalOps\n    To     : Renamed", false},
      {"Renamed", platform::Answer::Yes, "Do you want to rename the selected folder\n\n    From  : TacticalOps\n    To     : Renamed", true},
  };
  for (const Row& r : rows) {
    TreeFixture f;
    QTreeWidgetItem* entry = f.Entry(0, {"Games", "TacticalOps"});
    f.Click(entry);
    f.dialogs.answers = {r.answer, r.answer};
    f.tree->EndLabelEdit(entry, r.name);
    if (*r.box)
      EXPECT_TRUE(LastBox(f).startsWith(r.box)) << r.name << ": " << LastBox(f).toStdString();
    else
      EXPECT_TRUE(f.dialogs.boxes.empty()) << r.name;
    EXPECT_EQ(QFileInfo(f.C("Games/Renamed/System/TacticalOps.exe")).exists(), r.renamed) << r.name;
    EXPECT_EQ(QFileInfo(f.C("Games/TacticalOps")).exists(), !r.renamed) << r.name;
    EXPECT_EQ(entry->text(0), r.renamed ? "Renamed" : "TacticalOps") << r.name;
    if (r.renamed) {
      EXPECT_EQ(f.tree->SelectedPath(), f.C("Games")) << "the parent becomes the selection";
    }
  }
  {
    TreeFixture f;
    QTreeWidgetItem* entry = f.Entry(0, {"Music"});
    f.tree->EndLabelEdit(entry, QString(300, 'x'));  // longer than a file name may be
    EXPECT_TRUE(LastBox(f).startsWith("The folder could not be renamed:"));
    EXPECT_EQ(entry->text(0), "Music");
    EXPECT_TRUE(QFileInfo(f.C("Music/a.mp3")).exists());
  }
  // The invalid names beep.
  TreeFixture f;
  f.tree->EndLabelEdit(f.Entry(0, {"Games"}), "a|b");
  EXPECT_EQ(f.dialogs.beeps, std::vector<platform::Beep>{platform::Beep::Error});
  // Drives and the root are not renamed.
  f.tree->EndLabelEdit(f.Drive(0), "X");
  EXPECT_EQ(f.Drive(0)->text(0), " (C:)  Disk ");
}

TEST(DirTree, RenameThroughTheLabelEditor) {
  TreeFixture f;
  QTreeWidgetItem* entry = f.Entry(0, {"Music"});
  f.Click(entry);
  f.tree->EditFolder();
  QLineEdit* editor = f.Editor();
  ASSERT_TRUE(editor);
  editor->setText("Sounds");
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_VERIFY(QFileInfo(f.C("Sounds/a.mp3")).exists());
  EXPECT_EQ(f.dialogs.boxes.size(), 1u);  // the question
  EXPECT_EQ(entry->text(0), "Sounds");
}

TEST(DirTree, NewFolderOpensItsLabelAndRenamesWithoutAsking) {
  TreeFixture f;
  f.Click(f.Entry(0, {"Games"}));
  f.tree->NewFolder();
  ASSERT_TRUE(QFileInfo(f.C("Games/New Folder")).isDir());
  EXPECT_EQ(f.tree->currentItem()->text(0), "New Folder");
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games/New Folder/"));
  QLineEdit* editor = f.Editor();
  ASSERT_TRUE(editor);
  editor->setText("Maps");
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_VERIFY(QFileInfo(f.C("Games/Maps")).isDir());
  EXPECT_TRUE(f.dialogs.boxes.empty());

  // Twice in one place: the second does nothing visible.
  f.Click(f.Entry(0, {"Music"}));
  f.tree->NewFolder();
  QTest::keyClick(f.Editor(), Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  f.Click(f.Entry(0, {"Music"}));
  f.tree->NewFolder();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(f.dialogs.boxes.empty());
  EXPECT_FALSE(f.Editor());

  f.tree->setCurrentItem(f.tree->RootEntry());
  f.tree->NewFolder();
  EXPECT_EQ(LastBox(f), "ERROR - Can't add drives");
}

TEST(DirTree, DeleteMovesToTheTrashOrReportsAFolderGoneMeanwhile) {
  TreeFixture f;
  {
    dirtree_tests::ScopedUserHome user(f.dir.File("home"), f.dir.File("cwd"), f.dir.File("data"));
    f.Click(f.Entry(0, {"Games", "UT"}));
    f.tree->DeleteFolder();
  }
  EXPECT_TRUE(LastBox(f).startsWith("Do you want to move this folder to the trash?"));
  EXPECT_FALSE(QFileInfo::exists(f.C("Games/UT")));
  EXPECT_TRUE(QFileInfo(f.dir.File("data/Trash/files/UT")).isDir());
  EXPECT_EQ(f.Children(f.Entry(0, {"Games"})), QStringList{"TacticalOps"});
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Games"));

  // No trash to be had: the folder and its entry stay, and a box says so.
  f.dir.Write("blocker", "a file where the data folder would have to be");
  {
    dirtree_tests::ScopedUserHome user(f.dir.File("home"), f.dir.File("cwd"), f.dir.File("blocker/data"));
    f.Click(f.Entry(0, {"Music"}));
    f.tree->DeleteFolder();
  }
  EXPECT_TRUE(LastBox(f).startsWith("The folder could not be moved to the trash:\n" + f.C("Music")));
  EXPECT_TRUE(QFileInfo(f.C("Music/a.mp3")).isFile());
  EXPECT_TRUE(f.Entry(0, {"Music"}));
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Music"));
  EXPECT_TRUE(QDir(f.dir.File("cwd")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

  f.Click(f.Entry(0, {"Empty"}));
  QDir(f.C("Empty")).removeRecursively();
  f.tree->DeleteFolder();
  EXPECT_EQ(LastBox(f), f.C("Empty") + "not found");
  EXPECT_EQ(f.dialogs.beeps.back(), platform::Beep::Error);
}

TEST(DirTree, PasteCopiesMovesAndRefusesIntoTheSourceItself) {
  TreeFixture f;
  f.Click(f.Entry(0, {"Games", "TacticalOps"}));
  f.tree->CopyFolder();
  EXPECT_TRUE(f.tree->PastePending());
  f.Click(f.Entry(0, {"Empty"}));
  f.tree->PasteFolder();
  EXPECT_FALSE(f.tree->PastePending());
  EXPECT_TRUE(QFileInfo(f.C("Empty/TacticalOps/System/TacticalOps.exe")).isFile());
  EXPECT_TRUE(QFileInfo(f.C("Games/TacticalOps/System/TacticalOps.exe")).isFile());
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Empty/"));

  f.Click(f.Entry(0, {"Games"}));
  f.tree->CutFolder();
  f.Click(f.Entry(0, {"Games", "UT"}));
  f.tree->PasteFolder();
  EXPECT_EQ(LastBox(f), "File operation failed");
  EXPECT_FALSE(f.tree->PastePending());
  EXPECT_TRUE(QFileInfo(f.C("Games/UT")).isDir());
  EXPECT_FALSE(QFileInfo::exists(f.C("Games/UT/Games")));

  f.Click(f.Entry(0, {"Music"}));
  f.tree->CutFolder();
  f.Click(f.Entry(0, {"Games", "UT"}));
  f.tree->PasteFolder();
  EXPECT_TRUE(QFileInfo(f.C("Games/UT/Music/a.mp3")).isFile());
  EXPECT_FALSE(QFileInfo::exists(f.C("Music")));
}

TEST(DirTree, TreeSizeBox) {
  TreeFixture f;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  f.Click(f.Entry(0, {"Games", "TacticalOps"}));
  f.tree->TreeSize();
  EXPECT_EQ(LastBox(f),
            "===== TREE SIZE =====\n\nFolder \"TacticalOps\"\nand all its Sub-Folders \n =  1,500 Bytes\n"
            "     (i.e. 1.46 KB )");
  EXPECT_EQ(f.dialogs.boxes.back().kind, platform::BoxKind::Information);
  f.Click(f.Drive(0));
  f.tree->TreeSize();
  EXPECT_TRUE(LastBox(f).contains("Drive " + f.C() + "\nand all its Sub-Folders \n =  1,502 Bytes"));
  QLocale::setDefault(QLocale::system());
}

TEST(DirTree, TreeSizeAndPropertyStopWhenTheirWaitIsCancelled) {
  TreeFixture f;
  std::atomic<int> stopped{0};
  // A walk of ten seconds unless it is stopped.
  f.sumTree = [&stopped](const QString&, const std::atomic<bool>* stop) {
    for (int i = 0; i < 1000 && !stop->load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (stop->load()) ++stopped;
    return dirtree::TreeTotals{};
  };
  struct Row {
    const char* name;
    void (TDirTree::*command)();
    bool escape;  // Escape in the wait window, else closing it
  };
  const Row rows[] = {
      {"Tree Size, Escape", &TDirTree::TreeSize, true},
      {"Tree Size, closed", &TDirTree::TreeSize, false},
      {"Property, Escape", &TDirTree::ShowProperties, true},
      {"Property, closed", &TDirTree::ShowProperties, false},
  };
  int expectedStops = 0;
  for (const Row& r : rows) {
    f.Click(f.Drive(0));
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer, &r] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() != "TreeWalkWait" || !window->isVisible()) continue;
        answer.stop();
        if (r.escape) QTest::keyClick(window, Qt::Key_Escape);
        else window->close();
      }
    });
    answer.start(20);
    QElapsedTimer took;
    took.start();
    (f.tree.get()->*r.command)();
    EXPECT_LT(took.elapsed(), 5000) << r.name;
    EXPECT_FALSE(answer.isActive()) << r.name << ": no wait window was shown";
    ++expectedStops;
    for (int i = 0; i < 250 && stopped < expectedStops; ++i) QTest::qWait(20);
    EXPECT_EQ(stopped, expectedStops) << r.name << ": the walk went on";
    EXPECT_TRUE(f.tree->isEnabled()) << r.name;
  }
  EXPECT_TRUE(f.dialogs.boxes.empty());
  EXPECT_FALSE(f.tree->findChild<TFolderPropertiesBox*>());
  QTest::qWait(50);  // the last walk returns from the fixture's function
}

TEST(DirTree, FolderContentsListsFilesAndReportsTheChosenOne) {
  TreeFixture f;
  f.Click(f.Entry(0, {"Music"}));
  f.tree->ShowFolderContents();
  TFolderContentsWindow* window = f.tree->FolderContentsWindow();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->windowTitle(), "Files in \"../Music \"");
  ASSERT_EQ(window->FileListBox->count(), 2);
  EXPECT_EQ(window->FileListBox->item(0)->text(), "a.mp3");
  EXPECT_EQ(window->FileListBox->item(1)->text(), "b.txt");
  EXPECT_EQ(window->FileListBox->currentRow(), 0);
  EXPECT_EQ(window->FileListBox->toolTip(), "LeftClick - Select\nDblClick  - Open");
  EXPECT_FALSE(f.tree->RootEntry()->isExpanded());

  f.openAnswer = false;
  window->OpenEntry(window->FileListBox->item(1));
  EXPECT_EQ(f.opened, QStringList{f.C("Music/b.txt")});
  EXPECT_EQ(LastBox(f), "ERROR - Can't Open file b.txt");
  EXPECT_TRUE(window->isVisible());

  window->FileListBox->setCurrentRow(1);
  QTest::mouseClick(window->OkButton, Qt::LeftButton);
  EXPECT_EQ(f.tree->SelectedFile(), f.C("Music/b.txt"));
  EXPECT_EQ(f.fileChanges, QStringList{f.C("Music/b.txt")});
  EXPECT_EQ(f.tree->SelectedPath(), f.C("Music/"));  // back at the folder
  EXPECT_EQ(f.tree->currentItem()->text(0), "Music");

  f.Click(f.Drive(0));
  f.tree->ShowFolderContents();
  EXPECT_EQ(f.tree->FolderContentsWindow()->windowTitle(), "Files in \" " + f.C() + " \"");
  EXPECT_EQ(f.tree->FolderContentsWindow()->FileListBox->count(), 0);
}

TEST(DirTree, MenuOrderCaptionsAndEnablingBySelection) {
  TreeFixture f;
  QStringList shown;
  for (QAction* action : f.tree->PopupMenu()->actions()) {
    shown << (action->isSeparator() ? "-" : action->text());
    if (!action->isSeparator()) {
      EXPECT_EQ(action->icon().pixmap(28, 28).size(), QSize(28, 28));
    }
  }
  EXPECT_EQ(shown, (QStringList{"&New Folder", "&Rename Folder", "&Delete Folder", "-", "Cu&t", "&Copy", "&Paste", "-",
                                "Tree &Size", "&Folder Contents", "-", "&Map Network Drive ...",
                                "Dis&Connect Network Drive", "-", "&Property"}));
  auto enabled = [&f] {
    f.tree->UpdateMenu();
    QString bits;
    for (int i = 0; i < int(MenuItem::Count); ++i) bits += f.tree->MenuAction(MenuItem(i))->isEnabled() ? '1' : '0';
    return bits;
  };
  f.tree->setCurrentItem(nullptr);
  EXPECT_EQ(enabled(), "00000000110");
  f.tree->setCurrentItem(f.tree->RootEntry());
  EXPECT_EQ(enabled(), "00000000110");
  f.Click(f.Drive(0));
  EXPECT_EQ(enabled(), "10000011111");
  f.Click(f.Entry(0, {"Games"}));
  EXPECT_EQ(enabled(), "11111011111");
  f.tree->CopyFolder();
  EXPECT_EQ(enabled(), "11111111111");

  f.tree->SetLanguage(lnGerman);
  EXPECT_EQ(f.tree->MenuAction(MenuItem::AddNode)->text(), "&Neuer Ordner");
  EXPECT_EQ(f.tree->RootEntry()->text(0), "Computer");
  f.tree->SetLanguage(lnFrench);
  EXPECT_EQ(f.tree->RootEntry()->text(0), "Ordinateur");
  f.tree->SetPopUpMenuEnabled(false);
  EXPECT_FALSE(f.tree->PopUpMenuEnabled());
  EXPECT_EQ(f.tree->About(), "Version 1.0");
}

TEST(DirTree, NetworkDrivesMapAndDisconnect) {
  TreeFixture f;
  f.network->available = false;
  f.tree->MapNetworkDrive();
  f.tree->DisconnectNetworkDrive();
  ASSERT_EQ(f.dialogs.boxes.size(), 2u);
  EXPECT_EQ(f.dialogs.boxes[0].text, "This system offers no network mounting (the gio command is missing).");
  EXPECT_EQ(f.dialogs.boxes[1].text, f.dialogs.boxes[0].text);

  f.network->available = true;
  f.address = "http://not-a-share/";
  f.tree->MapNetworkDrive();
  EXPECT_TRUE(LastBox(f).startsWith("Not a valid network address:"));
  EXPECT_TRUE(f.network->mounted.isEmpty());

  f.address = "smb://nas/games";
  QDir().mkpath(f.dir.File("gvfs/games"));
  f.network->onMount = [&f](const QString&) {
    f.drives->list.insert(f.drives->list.begin() + 2, {"smb", "games on nas", f.dir.File("gvfs/games/"), true, false});
  };
  f.tree->MapNetworkDrive();
  EXPECT_EQ(f.network->mounted, QStringList{"smb://nas/games"});
  EXPECT_EQ(f.tree->SelectedPath(), f.dir.File("gvfs/games/"));
  EXPECT_EQ(f.tree->currentItem()->text(0), " (smb)  games on nas ");

  f.network->answer = {false, "mount refused"};
  f.address = "smb://nas/other";
  f.tree->MapNetworkDrive();
  EXPECT_EQ(LastBox(f), "The network drive could not be connected:\nsmb://nas/other\nmount refused");

  // Cancelled or failed, nothing was disconnected: the tree stays as it was.
  // (choice 1: the second network drive, the share; the answer still fails)
  for (const std::optional<int> choice : {std::optional<int>(), std::optional<int>(1)}) {
    f.choice = choice;
    f.tree->DisconnectNetworkDrive();
    EXPECT_EQ(f.tree->SelectedPath(), f.dir.File("gvfs/games/"));
    EXPECT_EQ(f.tree->currentItem()->text(0), " (smb)  games on nas ");
  }
  EXPECT_EQ(LastBox(f), "The network drive could not be disconnected:\n" + f.dir.File("gvfs/games/") +
                            "\nmount refused");

  f.network->answer = {true, {}};
  f.network->unmounted.clear();
  f.tree->DisconnectNetworkDrive();
  EXPECT_EQ(f.network->unmounted, QStringList{f.dir.File("gvfs/games/")});
  EXPECT_EQ(f.tree->SelectedPath(), "Drives");
  EXPECT_EQ(f.tree->currentItem(), f.tree->RootEntry());
}

TEST(DirTree, PropertyShowsTheFoldersFacts) {
  TreeFixture f;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  f.Click(f.Entry(0, {"Games", "TacticalOps"}));
  f.tree->ShowProperties();
  auto* box = f.tree->findChild<TFolderPropertiesBox*>();
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->isVisible());
  QStringList texts;
  for (QLabel* label : box->findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(f.C("Games/TacticalOps")));
  EXPECT_TRUE(texts.contains("1.46 KB (1,500 Bytes)"));
  EXPECT_TRUE(texts.contains("3 files, 1 folders"));
  QLocale::setDefault(QLocale::system());
  box->close();
}
