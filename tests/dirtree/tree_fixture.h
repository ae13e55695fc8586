// A directory tree over a temp directory: drive "C:" with games and music,
// a network drive and a removable drive without a medium, fake network
// mounts, recording dialogs and a recorded file opener.
#pragma once
#include <QLineEdit>
#include <QTest>
#include <QTreeWidgetItem>
#include <memory>

#include "dirtree/dir_tree.h"
#include "dirtree/network_drives.h"
#include "support/fake_drives.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace dirtree_tests {

using testing_support::FakeDrives;

class FakeNetwork : public dirtree::NetworkDrives {
 public:
  bool available = true;
  dirtree::FolderOpResult answer{true, {}};
  std::function<void(const QString&)> onMount;
  QStringList mounted, unmounted;
  bool Available() override { return available; }
  dirtree::FolderOpResult Mount(const QString& address) override {
    mounted << address;
    if (answer.ok && onMount) onMount(address);
    return answer;
  }
  dirtree::FolderOpResult Unmount(const QString& root) override {
    unmounted << root;
    return answer;
  }
};

struct TreeFixture {
  TreeFixture();
  // The folder at `folders` below drive `drive`, expanding on the way.
  QTreeWidgetItem* Entry(int drive, const QStringList& folders);
  QTreeWidgetItem* Drive(int index) { return tree->RootEntry()->child(index); }
  QStringList Children(QTreeWidgetItem* entry);
  // A left click at the icon of `entry`, or `dx` pixels right of the entry's start.
  void Click(QTreeWidgetItem* entry, int dx = 8);
  // The open label editor of the tree.
  QLineEdit* Editor();
  QString C(const QString& relative = {}) const { return dir.File("c/" + relative); }

  testing_support::TempDir dir;
  std::shared_ptr<FakeDrives> drives = std::make_shared<FakeDrives>();
  std::shared_ptr<FakeNetwork> network = std::make_shared<FakeNetwork>();
  testing_support::RecordingDialogs dialogs;
  QStringList dirChanges, fileChanges, opened;
  bool openAnswer = true;
  std::optional<QString> address;
  std::optional<int> choice = 0;
  dirtree::TreeSum sumTree = dirtree::SumTree;  // what Tree Size and Property walk with
  std::unique_ptr<TDirTree> tree;
};

}  // namespace dirtree_tests
