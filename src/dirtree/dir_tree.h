// TDirTree, an explorer-style tree of the drives and their folders.
//
// Level 0 is one root entry (the computer), level 1 the drives (see
// DriveList), below them the folders, read lazily: an entry's children are
// read the first time it is expanded. A drive always shows an expand button;
// a folder shows one when it holds a subfolder, or always on a network drive.
//
// Paths are native: a drive's path is its root with a trailing "/", a
// folder's path has none, the root's is empty. SelectedPath is the path of
// the entry last selected by a mouse press on its label or icon or by the
// keyboard ("Drives" for the root); OnDirChange follows each selection. The
// highlighted entry is always the one SelectedPath names: a press or a drag
// anywhere else on a row moves neither the highlight nor the current entry.
//
// The right-click menu offers New Folder, Rename, Delete (to the trash),
// Cut/Copy/Paste of folders, Tree Size, Folder Contents, Map and Disconnect
// Network Drive and Property, enabled by the selection. Messages and menu
// captions follow Language.
//
// Nested event loops: the message boxes, and the work run on a worker thread
// (Paste, Tree Size, Property, Map and Disconnect Network Drive, and reading
// a folder on a network drive when it is expanded) wait in one; the tree is
// disabled meanwhile. Tree Size and Property walk only the selected entry's
// own file system, and a wait window lets the user stop the walk (no box
// then).
#pragma once
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <optional>

#include "dirtree/dir_tree_texts.h"
#include "dirtree/drive_list.h"
#include "dirtree/folder_contents_window.h"
#include "dirtree/menu_rules.h"
#include "dirtree/tree_size.h"

namespace platform {
class Dialogs;
}
namespace dirtree {
class NetworkDrives;
}
class QMenu;
class QAction;

// A file list that follows the tree: it is given every new SelectedPath.
class TDirTreeFileList {
 public:
  virtual ~TDirTreeFileList() = default;
  virtual void SetDirectory(const QString& path) = 0;
};

using TDirChangeEvent = std::function<void(QObject* Sender, const QString& path)>;
using TFileChangeEvent = std::function<void(QObject* Sender, const QString& file)>;
using TNotifyEvent = std::function<void(QObject* Sender)>;

// What the tree uses from outside; every empty member means the real thing.
struct DirTreeServices {
  std::shared_ptr<dirtree::DriveList> drives;           // the system's drives
  platform::Dialogs* dialogs = nullptr;                 // boxes labelled in the tree's language
  std::function<bool(const QString& file)> openFile;    // the desktop's default application
  std::shared_ptr<dirtree::NetworkDrives> network;      // gio mounts
  // Asks for a network address; nullopt when the user cancels.
  std::function<std::optional<QString>(const QString& prompt)> askAddress;
  // Lets the user pick one of `choices`; its index, or nullopt on cancel.
  std::function<std::optional<int>(const QString& prompt, const QStringList& choices)> chooseOne;
  dirtree::TreeSum sumTree;  // walks a tree for Tree Size and Property
};

class TDirTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TDirTree(QWidget* Owner = nullptr, DirTreeServices services = {});
  ~TDirTree() override;

  // ---- published properties ----
  const QString& SelectedPath() const { return selectedPath_; }
  const QString& SelectedFile() const { return selectedFile_; }
  bool PopUpMenuEnabled() const { return popUpMenuEnabled_; }
  void SetPopUpMenuEnabled(bool enabled) { popUpMenuEnabled_ = enabled; }
  TLanguage Language() const { return language_; }
  // Reloads the texts: the root's caption and the menu.
  void SetLanguage(TLanguage language);
  QString About() const { return QStringLiteral("Version 1.0"); }
  void SetAbout(const QString&) {}
  TDirTreeFileList* FileList = nullptr;
  TDirChangeEvent OnDirChange;
  TFileChangeEvent OnFileChange;
  TNotifyEvent OnDblClick;  // any double click in the tree

  // ---- the tree ----
  QTreeWidgetItem* RootEntry() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }
  dirtree::EntryKind KindOf(const QTreeWidgetItem* entry) const;
  QString PathOf(const QTreeWidgetItem* entry) const;
  // Reads the drives anew: the root with the drive entries below it.
  void RebuildTree();
  // Expands `entry`, reading its children the first time.
  void LoadChildren(QTreeWidgetItem* entry);
  // A selection by the user: the selection steps with readiness test and
  // OnDirChange.
  void SelectEntry(QTreeWidgetItem* entry);
  // Opens the tree down to `path` and selects it; nothing for an empty path
  // or one that is not an existing directory. SelectedPath becomes `path`
  // with a trailing "/", and OnDirChange follows only when that changed it.
  void NavigateTo(const QString& path);
  // F5: rebuild and go back to SelectedPath.
  void Refresh();

  // ---- label editing ----
  // The end of an edit of `entry`'s label with `newName`: checks the name,
  // asks (unless `afterNewFolder`), renames on disk.
  void EndLabelEdit(QTreeWidgetItem* entry, const QString& newName, bool afterNewFolder = false);

  // ---- the right-click menu and its commands ----
  QMenu* PopupMenu() const { return menu_; }
  QAction* MenuAction(dirtree::MenuItem item) const;
  // Enables the items for the current selection.
  void UpdateMenu();
  bool PastePending() const { return pastePending_; }
  void NewFolder();
  void EditFolder();
  void DeleteFolder();
  void CutFolder();
  void CopyFolder();
  void PasteFolder();
  void TreeSize();
  void ShowFolderContents();
  void MapNetworkDrive();
  void DisconnectNetworkDrive();
  void ShowProperties();
  TFolderContentsWindow* FolderContentsWindow() const { return contents_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event = nullptr) const override;
  using QTreeWidget::edit;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  class LabelDelegate;
  friend class LabelDelegate;

  QTreeWidgetItem* EntryAtLabel(const QPoint& pos) const;
  void KeepCurrent(QTreeWidgetItem* before);
  QTreeWidgetItem* AddFolderEntry(QTreeWidgetItem* parent, const QString& name, bool network);
  const dirtree::Drive* DriveOf(const QTreeWidgetItem* entry) const;
  void AddDrives();
  void ReadChildren(QTreeWidgetItem* entry);
  void CollapseAll(QTreeWidgetItem* entry);
  void BuildMenu();
  void InstallLabelDelegate();
  void Reselect(QTreeWidgetItem* entry);
  void SetEntryIcon(QTreeWidgetItem* entry, bool open);
  void ContentsClosed(const QString& folder, const QString& chosenFile);
  std::optional<dirtree::TreeTotals> SumWithWait(const QString& path);
  platform::Dialogs& Boxes();
  void ErrorBox(const QString& text);
  void InfoBox(const QString& text);
  bool Ask(const QString& text);
  QString T(dirtree::Text text) const { return dirtree::Tr(language_, text); }

  DirTreeServices services_;
  std::unique_ptr<platform::Dialogs> ownDialogs_;
  std::vector<dirtree::Drive> drives_;
  QString selectedPath_;
  QString selectedFile_;
  bool popUpMenuEnabled_ = true;
  TLanguage language_ = lnEnglish;
  QMenu* menu_ = nullptr;
  QAction* actions_[int(dirtree::MenuItem::Count)] = {};
  bool pastePending_ = false;
  bool pasteMoves_ = false;
  QString pasteSource_;
  bool newFolderEdit_ = false;
  bool pressOnLabel_ = false;  // the mouse press being handled may select
  QPointer<TFolderContentsWindow> contents_;
};
