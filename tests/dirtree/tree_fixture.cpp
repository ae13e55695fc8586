#include "tree_fixture.h"

#include <QDir>

namespace dirtree_tests {

TreeFixture::TreeFixture() {
  for (const char* d : {"c/Games/TacticalOps/System", "c/Games/UT", "c/Empty", "c/Music/sub", "net/Share/Inner",
                        "net/Plain", "cd"})
    QDir().mkpath(dir.File(d));
  dir.Write("c/Games/TacticalOps/System/TacticalOps.exe", std::string(1000, 'x'));
  dir.Write("c/Games/TacticalOps/readme.txt", std::string(400, 'r'));
  dir.Write("c/Games/TacticalOps/System/.hidden", std::string(100, 'h'));
  dir.Write("c/Music/b.txt", "b");
  dir.Write("c/Music/a.mp3", "a");
  drives->list = {{"C:", "Disk", dir.File("c/")},
                  {"net", "Server", dir.File("net/"), true, false},
                  {"D:", "CD (D:)", dir.File("cd/"), false, true}};
  drives->notReady.insert(dir.File("cd/"));

  DirTreeServices services;
  services.drives = drives;
  services.dialogs = &dialogs;
  services.network = network;
  services.openFile = [this](const QString& file) {
    opened << file;
    return openAnswer;
  };
  services.askAddress = [this](const QString&) { return address; };
  services.chooseOne = [this](const QString&, const QStringList&) { return choice; };
  services.sumTree = [this](const QString& root, const std::atomic<bool>* stop) { return sumTree(root, stop); };
  tree = std::make_unique<TDirTree>(nullptr, services);
  tree->resize(400, 400);
  tree->OnDirChange = [this](QObject*, const QString& path) { dirChanges << path; };
  tree->OnFileChange = [this](QObject*, const QString& file) { fileChanges << file; };
  tree->show();
  (void)QTest::qWaitForWindowExposed(tree.get());
}

QTreeWidgetItem* TreeFixture::Entry(int drive, const QStringList& folders) {
  QTreeWidgetItem* entry = Drive(drive);
  for (const QString& text : folders) {
    tree->LoadChildren(entry);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < entry->childCount() && !next; ++i)
      if (entry->child(i)->text(0) == text) next = entry->child(i);
    if (!next) return nullptr;
    entry = next;
  }
  return entry;
}

QStringList TreeFixture::Children(QTreeWidgetItem* entry) {
  QStringList names;
  for (int i = 0; i < entry->childCount(); ++i) names << entry->child(i)->text(0);
  return names;
}

void TreeFixture::Click(QTreeWidgetItem* entry, int dx) {
  tree->scrollToItem(entry);
  const QRect rect = tree->visualItemRect(entry);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + dx, rect.center().y()));
}

QLineEdit* TreeFixture::Editor() { return tree->viewport()->findChild<QLineEdit*>(); }

}  // namespace dirtree_tests
