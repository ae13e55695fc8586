// The directory chooser over a temp drive, alone and opened from the setup
// panel's folder button.
#include <QDir>
#include <QFile>
#include <algorithm>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/window_fixture.h"
#include "support/fake_drives.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "ui/directory_chooser.h"

namespace {

struct ChooserFixture {
  ChooserFixture(QLineEdit* target = nullptr) {
    QDir().mkpath(dir.File("c/Games/TacticalOps/System"));
    QDir().mkpath(dir.File("c/Music"));
    drives->list = {{"C:", "Disk", dir.File("c/")}};
    DirTreeServices services;
    services.drives = drives;
    services.dialogs = &dialogs;
    chooser = std::make_unique<DirectoryChooser>(target ? target : &set_todir, services);
  }
  void Show() {
    chooser->show();
    (void)QTest::qWaitForWindowExposed(chooser.get());
  }
  QTreeWidgetItem* Folder(const QStringList& names) {
    QTreeWidgetItem* entry = chooser->tree->RootEntry()->child(0);
    for (const QString& name : names) {
      chooser->tree->LoadChildren(entry);
      for (int i = 0; i < entry->childCount(); ++i)
        if (entry->child(i)->text(0) == name) entry = entry->child(i);
    }
    return entry;
  }
  QPoint At(QTreeWidgetItem* entry) {
    chooser->tree->scrollToItem(entry);
    const QRect r = chooser->tree->visualItemRect(entry);
    return {r.left() + 8, r.center().y()};
  }
  void DoubleClick(QPoint at) {
    QWidget* view = chooser->tree->viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, at);
    QTest::mouseRelease(view, Qt::LeftButton, {}, at);
    QTest::mouseDClick(view, Qt::LeftButton, {}, at);
  }

  testing_support::TempDir dir;
  std::shared_ptr<testing_support::FakeDrives> drives = std::make_shared<testing_support::FakeDrives>();
  testing_support::RecordingDialogs dialogs;
  QLineEdit set_todir{QStringLiteral("/old/dir/")};
  std::unique_ptr<DirectoryChooser> chooser;
};

}  // namespace

TEST(DirectoryChooser, AHiddenBlackToolWindowFilledByTheTree) {
  ChooserFixture f;
  EXPECT_TRUE(f.chooser->isHidden());
  EXPECT_EQ(f.chooser->windowTitle(), "Quavik RC5 - Anwendungsverzeichnis suchen...");
  EXPECT_TRUE(f.chooser->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(f.chooser->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(f.chooser->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
  f.Show();
  EXPECT_EQ(f.chooser->size(), QSize(369, 332));
  EXPECT_EQ(f.chooser->minimumSize(), f.chooser->maximumSize());
  EXPECT_EQ(f.chooser->palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_EQ(f.chooser->tree->geometry(), f.chooser->rect());
  EXPECT_EQ(f.chooser->tree->indentation(), 19);
  const QRect screen = f.chooser->screen()->availableGeometry();
  EXPECT_LE((f.chooser->frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(DirectoryChooser, ADoubleClickCopiesTheSelectedPathAndCloses) {
  for (const char* what : {"folder", "drive", "root"}) {
    ChooserFixture f;
    f.Show();
    QTreeWidgetItem* entry = f.Folder({"Games", "TacticalOps"});
    QString expected = f.dir.File("c/Games/TacticalOps");
    if (QString(what) == "drive") {
      entry = f.Folder({});
      expected = f.dir.File("c/");
    } else if (QString(what) == "root") {
      entry = f.chooser->tree->RootEntry();
      expected = "Drives";
    }
    f.DoubleClick(f.At(entry));
    EXPECT_EQ(f.set_todir.text(), expected) << what;
    EXPECT_TRUE(f.chooser->isHidden()) << what;
  }
}

TEST(DirectoryChooser, ADoubleClickOnEmptySpaceBeforeAnySelectionEmptiesTheBox) {
  ChooserFixture f;
  f.Show();
  f.DoubleClick(QPoint(300, 300));
  EXPECT_EQ(f.set_todir.text(), "");
  EXPECT_TRUE(f.chooser->isHidden());
}

TEST(DirectoryChooser, ClosingLeavesTheBoxAndReopeningShowsTheTreeAsLeft) {
  ChooserFixture f;
  f.Show();
  QTreeWidgetItem* music = f.Folder({"Music"});
  QTreeWidgetItem* tactical = f.Folder({"Games", "TacticalOps"});
  QTest::mouseClick(f.chooser->tree->viewport(), Qt::LeftButton, {}, f.At(tactical));
  f.chooser->close();
  EXPECT_EQ(f.set_todir.text(), "/old/dir/");
  f.Show();
  EXPECT_EQ(f.chooser->tree->currentItem(), tactical);
  EXPECT_TRUE(f.Folder({"Games"})->isExpanded());
  EXPECT_EQ(f.chooser->tree->RootEntry()->child(0)->child(1), music);
  EXPECT_EQ(f.chooser->tree->SelectedPath(), f.dir.File("c/Games/TacticalOps"));
}

TEST(DirectoryChooser, TheFolderButtonOpensItModallyAndTheChoiceIsSavedWithASlash) {
  testing_support::FormFixture form;
  ChooserFixture f(form.Driver().Edit("set_todir"));
  QDir().mkpath(f.dir.File("c/Games/TacticalOps/System"));
  form.Driver().SetDirectoryChooser(f.chooser.get());
  bool wasModal = false;
  QTimer::singleShot(0, [&] {
    wasModal = f.chooser->isVisible() && QApplication::activeModalWidget() == f.chooser.get();
    f.DoubleClick(f.At(f.Folder({"Games", "TacticalOps"})));
  });
  form.Driver().Control<QToolButton>("SpeedButton1")->click();
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(f.chooser->isVisible());
  EXPECT_EQ(form.Driver().Edit("set_todir")->text(), f.dir.File("c/Games/TacticalOps"));
  form.Driver().Button("Button1")->click();  // the setup panel's save
  EXPECT_NE(form.SettingsFile().find("Directory=" + f.dir.File("c/Games/TacticalOps/").toStdString()),
            std::string::npos);

  // A login looks for the game's program there: first without it, then with it.
  auto missingGameBoxes = [&form] {
    return std::count_if(form.dialogs.boxes.begin(), form.dialogs.boxes.end(), [](const auto& box) {
      return box.text.contains("Programmdateien nicht gefunden");
    });
  };
  form.Driver().Click("Anmelden");
  EXPECT_EQ(missingGameBoxes(), 1);
  QFile exe(f.dir.File("c/Games/TacticalOps/System/UnrealTournament.exe"));
  ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
  exe.close();
  form.Driver().Click("Anmelden");
  EXPECT_EQ(missingGameBoxes(), 1);
}
