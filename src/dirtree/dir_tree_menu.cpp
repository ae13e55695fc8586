// TDirTree: the right-click menu and its commands.
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QProxyStyle>
#include <QSet>

#include "dirtree/background_work.h"
#include "dirtree/dir_listing.h"
#include "dirtree/dir_tree.h"
#include "dirtree/folder_contents_window.h"
#include "dirtree/folder_ops.h"
#include "dirtree/folder_properties.h"
#include "dirtree/menu_bitmaps.h"
#include "dirtree/network_drives.h"
#include "dirtree/tree_size.h"
#include "platform/os/dialogs.h"

using dirtree::EntryKind;
using dirtree::MenuItem;
using dirtree::Text;

namespace {

struct MenuEntry {
  MenuItem item;
  Text caption;
  const char* name;
  void (TDirTree::*command)();
};

const MenuEntry kMenu[] = {
    {MenuItem::AddNode, Text::NewFolder, "AddNode", &TDirTree::NewFolder},
    {MenuItem::EditNode, Text::RenameFolder, "EditNode", &TDirTree::EditFolder},
    {MenuItem::DelNode, Text::DeleteFolder, "DelNode", &TDirTree::DeleteFolder},
    {MenuItem::CutNode, Text::Cut, "CutNode", &TDirTree::CutFolder},
    {MenuItem::CopyNode, Text::Copy, "CopyNode", &TDirTree::CopyFolder},
    {MenuItem::PasteNode, Text::Paste, "PasteNode", &TDirTree::PasteFolder},
    {MenuItem::GetTreeSize, Text::TreeSize, "GetTreeSize", &TDirTree::TreeSize},
    {MenuItem::ShowFolderContents, Text::FolderContents, "ShowFolderContents", &TDirTree::ShowFolderContents},
    {MenuItem::ConnectNetResource, Text::MapNetworkDrive, "ConnectNetResource", &TDirTree::MapNetworkDrive},
    {MenuItem::DisConnectNetResource, Text::DisconnectNetworkDrive, "DisConnectNetResource",
     &TDirTree::DisconnectNetworkDrive},
    {MenuItem::ItemProperty, Text::Property, "ItemProperty", &TDirTree::ShowProperties},
};

class MenuPictureStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SmallIconSize) return 28;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

bool BelowRoot(EntryKind kind) { return kind == EntryKind::Drive || kind == EntryKind::Folder; }

}  // namespace

void TDirTree::BuildMenu() {
  delete menu_;
  menu_ = new QMenu(this);
  menu_->setObjectName(QStringLiteral("DirTreeMenu"));
  // The menu's pictures are 28 pixels, shown at their own size.
  auto* style = new MenuPictureStyle;
  style->setParent(menu_);
  menu_->setStyle(style);
  for (const MenuEntry& entry : kMenu) {
    QAction* action = menu_->addAction(QIcon(dirtree::MenuBitmap(entry.item)), T(entry.caption));
    action->setObjectName(QString::fromLatin1(entry.name));
    connect(action, &QAction::triggered, this, entry.command);
    actions_[int(entry.item)] = action;
    if (dirtree::SeparatorAfter(entry.item)) menu_->addSeparator();
  }
}

QAction* TDirTree::MenuAction(MenuItem item) const { return actions_[int(item)]; }

void TDirTree::UpdateMenu() {
  const EntryKind kind = KindOf(currentItem());
  for (int i = 0; i < int(MenuItem::Count); ++i)
    actions_[i]->setEnabled(dirtree::MenuItemEnabled(MenuItem(i), kind, pastePending_));
}

void TDirTree::contextMenuEvent(QContextMenuEvent* event) {
  if (!popUpMenuEnabled_) return;
  UpdateMenu();
  menu_->popup(event->globalPos() + QPoint(10, 10));
}

void TDirTree::NewFolder() {
  QTreeWidgetItem* entry = currentItem();
  const EntryKind kind = KindOf(entry);
  if (kind == EntryKind::None) return;
  if (kind == EntryKind::Root) {
    ErrorBox(T(Text::ErrorPrefix) + T(Text::CantAddDrives));
    return;
  }
  const QString folder = dirtree::JoinPath(PathOf(entry), QStringLiteral("New Folder"));
  if (!dirtree::CreateFolder(folder).ok) return;
  RebuildTree();
  NavigateTo(folder);
  if (PathOf(currentItem()) != folder) return;
  newFolderEdit_ = true;
  editItem(currentItem());
}

void TDirTree::EditFolder() {
  if (KindOf(currentItem()) == EntryKind::Folder) editItem(currentItem());
}

void TDirTree::DeleteFolder() {
  QTreeWidgetItem* entry = currentItem();
  if (KindOf(entry) != EntryKind::Folder) return;
  const QString path = PathOf(entry);
  if (!QFileInfo(path).isDir()) {
    Boxes().MessageBeep(platform::Beep::Error);
    ErrorBox(path + T(Text::NotFound));
    return;
  }
  if (!Ask(T(Text::DeleteQuestion) + "\n\n" + path)) return;
  const dirtree::FolderOpResult trashed = dirtree::MoveFolderToTrash(path);
  if (!trashed.ok) {
    ErrorBox(T(Text::TrashFailed) + '\n' + path + '\n' + trashed.error);
    return;
  }
  QTreeWidgetItem* parent = entry->parent();
  delete entry;
  SelectEntry(parent);
}

void TDirTree::CutFolder() {
  if (KindOf(currentItem()) != EntryKind::Folder) return;
  pasteSource_ = PathOf(currentItem());
  pasteMoves_ = true;
  pastePending_ = true;
}

void TDirTree::CopyFolder() {
  if (KindOf(currentItem()) != EntryKind::Folder) return;
  pasteSource_ = PathOf(currentItem());
  pasteMoves_ = false;
  pastePending_ = true;
}

void TDirTree::PasteFolder() {
  if (!pastePending_ || !BelowRoot(KindOf(currentItem()))) return;
  pastePending_ = false;
  const QString target = dirtree::JoinPath(PathOf(currentItem()), QString());
  const QString source = pasteSource_;
  const bool moves = pasteMoves_;
  dirtree::FolderOpResult result;
  dirtree::RunInBackground(this, [&] {
    result = moves ? dirtree::MoveFolderInto(source, target) : dirtree::CopyFolderInto(source, target);
  });
  if (!result.ok) {
    ErrorBox(T(Text::FileOperationFailed));
    return;
  }
  RebuildTree();
  NavigateTo(target);
}

void TDirTree::TreeSize() {
  QTreeWidgetItem* entry = currentItem();
  const EntryKind kind = KindOf(entry);
  if (!BelowRoot(kind)) return;
  const QString path = PathOf(entry);
  const bool drive = kind == EntryKind::Drive;
  const QString subject = dirtree::TreeSizeSubject(language_, drive, drive ? path : entry->text(0));
  const std::optional<dirtree::TreeTotals> totals = SumWithWait(path);
  if (!totals) return;  // stopped by the user
  InfoBox(dirtree::TreeSizeText(language_, subject, totals->bytes, dirtree::DisplayLocale()));
}

// The sums of `path`'s tree, counted on a worker thread while a wait window
// offers to stop; nullopt when the user stopped it.
std::optional<dirtree::TreeTotals> TDirTree::SumWithWait(const QString& path) {
  const auto totals = std::make_shared<dirtree::TreeTotals>();
  const dirtree::TreeSum sum = services_.sumTree;
  const dirtree::WaitTexts texts{QApplication::applicationDisplayName(), T(Text::CountingFiles) + '\n' + path,
                                 T(Text::CancelButton)};
  if (!dirtree::RunStoppable(this, texts,
                             [totals, sum, path](const std::atomic<bool>& stop) { *totals = sum(path, &stop); }))
    return std::nullopt;
  return *totals;
}

void TDirTree::ShowFolderContents() {
  QTreeWidgetItem* entry = currentItem();
  const EntryKind kind = KindOf(entry);
  if (!BelowRoot(kind)) return;
  const QString folder = PathOf(entry);
  if (contents_) contents_->close();
  CollapseAll(RootEntry());
  contents_ = new TFolderContentsWindow(this, folder, kind == EntryKind::Drive, language_, services_.openFile, Boxes());
  contents_->setAttribute(Qt::WA_DeleteOnClose);
  contents_->OnClosed = [this, folder](const QString& file) { ContentsClosed(folder, file); };
  contents_->setGeometry(QRect(mapToGlobal(QPoint(0, 0)), size()));
  contents_->show();
}

void TDirTree::ContentsClosed(const QString& folder, const QString& chosenFile) {
  if (!chosenFile.isEmpty()) {
    selectedFile_ = chosenFile;
    if (OnFileChange) OnFileChange(this, selectedFile_);
  }
  NavigateTo(folder);
}

void TDirTree::MapNetworkDrive() {
  if (!services_.network->Available()) {
    InfoBox(T(Text::NoNetworkMounting));
    return;
  }
  const std::optional<QString> asked = services_.askAddress(T(Text::MapPrompt));
  if (!asked) return;
  const QString address = asked->trimmed();
  if (!dirtree::IsNetworkAddress(address)) {
    ErrorBox(T(Text::InvalidAddress) + '\n' + address);
    return;
  }
  dirtree::FolderOpResult mounted;
  dirtree::RunInBackground(this, [&] { mounted = services_.network->Mount(address); });
  if (!mounted.ok) {
    ErrorBox(T(Text::MapFailed) + '\n' + address + '\n' + mounted.error);
    return;
  }
  QSet<QString> before;
  for (const dirtree::Drive& drive : drives_) before.insert(drive.root);
  RebuildTree();
  QTreeWidgetItem* root = RootEntry();
  if (root->childCount() == 0) return;
  QTreeWidgetItem* added = root->child(root->childCount() - 1);
  for (int i = 0; i < root->childCount(); ++i)
    if (!before.contains(PathOf(root->child(i)))) {
      added = root->child(i);
      break;
    }
  Reselect(added);
  selectedPath_ = PathOf(added);
}

void TDirTree::DisconnectNetworkDrive() {
  if (!services_.network->Available()) {
    InfoBox(T(Text::NoNetworkMounting));
    return;
  }
  std::vector<dirtree::Drive> network;
  for (const dirtree::Drive& drive : services_.drives->Drives())
    if (drive.network) network.push_back(drive);
  if (network.empty()) {
    InfoBox(T(Text::NoNetworkDrives));
    return;
  }
  QStringList choices;
  for (const dirtree::Drive& drive : network) choices << dirtree::DriveEntryText(drive).trimmed() + "  " + drive.root;
  const std::optional<int> chosen = services_.chooseOne(T(Text::DisconnectPrompt), choices);
  if (!chosen || *chosen < 0 || *chosen >= int(network.size())) return;
  const QString root = network[std::size_t(*chosen)].root;
  dirtree::FolderOpResult unmounted;
  dirtree::RunInBackground(this, [&] { unmounted = services_.network->Unmount(root); });
  if (!unmounted.ok) {
    ErrorBox(T(Text::DisconnectFailed) + '\n' + root + '\n' + unmounted.error);
    return;  // the tree and the selection stay as they were
  }
  RebuildTree();
  Reselect(RootEntry());
  selectedPath_ = QStringLiteral("Drives");
}

void TDirTree::ShowProperties() {
  QTreeWidgetItem* entry = currentItem();
  const EntryKind kind = KindOf(entry);
  if (!BelowRoot(kind)) return;
  const QString path = PathOf(entry);
  const std::optional<dirtree::TreeTotals> totals = SumWithWait(path);
  if (!totals) return;  // stopped by the user
  auto* box = new TFolderPropertiesBox(
      this, language_, path,
      dirtree::PropertyRows(language_, path, kind == EntryKind::Drive, *totals, dirtree::DisplayLocale()));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}
