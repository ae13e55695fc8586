// TDirTree: renaming a folder by editing its label.
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "dirtree/dir_listing.h"
#include "dirtree/dir_tree.h"
#include "dirtree/folder_name.h"
#include "dirtree/folder_ops.h"
#include "platform/os/dialogs.h"

using dirtree::Text;

// Hands a finished edit to the tree instead of writing it into the label:
// the label changes only when the folder was renamed on disk. The tree
// handles it once the editor is gone, so its boxes don't run inside the
// editor's commit.
class TDirTree::LabelDelegate : public QStyledItemDelegate {
 public:
  explicit LabelDelegate(TDirTree* tree) : QStyledItemDelegate(tree), tree_(tree) {
    connect(this, &QAbstractItemDelegate::closeEditor, tree, [tree] { tree->newFolderEdit_ = false; });
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) return;
    const QPersistentModelIndex entry(index);
    const QString name = line->text();
    const bool afterNewFolder = tree_->newFolderEdit_;
    tree_->newFolderEdit_ = false;
    QMetaObject::invokeMethod(
        tree_,
        [tree = tree_, entry, name, afterNewFolder] {
          if (entry.isValid()) tree->EndLabelEdit(tree->itemFromIndex(entry), name, afterNewFolder);
        },
        Qt::QueuedConnection);
  }

 private:
  TDirTree* tree_;
};

void TDirTree::EndLabelEdit(QTreeWidgetItem* entry, const QString& newName, bool afterNewFolder) {
  if (KindOf(entry) != dirtree::EntryKind::Folder) return;
  const QString oldName = entry->text(0);
  if (!dirtree::IsValidFolderName(newName)) {
    Boxes().MessageBeep(platform::Beep::Error);
    if (!newName.isEmpty()) ErrorBox(T(Text::InvalidDirectoryName) + '\n' + newName);
    return;
  }
  if (newName == oldName) return;
  if (!afterNewFolder &&
      !Ask(T(Text::RenameQuestion) + "\n\n    " + T(Text::RenameFrom) + oldName + "\n    " + T(Text::RenameTo) + newName))
    return;
  const QString from = PathOf(entry);
  const QString to = dirtree::JoinPath(PathOf(entry->parent()), newName);
  const dirtree::FolderOpResult renamed = dirtree::RenameFolder(from, to);
  if (!renamed.ok) {
    ErrorBox(T(Text::RenameFailed) + '\n' + from + '\n' + renamed.error);
    return;
  }
  entry->setText(0, newName);
  SelectEntry(entry->parent());
}

void TDirTree::InstallLabelDelegate() { setItemDelegate(new LabelDelegate(this)); }
