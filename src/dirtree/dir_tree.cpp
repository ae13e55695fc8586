// TDirTree: construction, language, entries, paths and lazy loading.
#include "dirtree/dir_tree.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QStyle>
#include <QUrl>

#include "dirtree/background_work.h"
#include "dirtree/dir_listing.h"
#include "dirtree/network_drives.h"
#include "dirtree/tree_dialogs.h"

using dirtree::EntryKind;

namespace {

enum Role { KindRole = Qt::UserRole, DriveRole, NetworkRole, LoadedRole };

}  // namespace

TDirTree::TDirTree(QWidget* Owner, DirTreeServices services)
    : QTreeWidget(Owner), services_(std::move(services)) {
  if (!services_.drives) services_.drives = std::make_shared<dirtree::SystemDriveList>();
  if (!services_.network) services_.network = std::make_shared<dirtree::GioNetworkDrives>();
  if (!services_.dialogs) ownDialogs_ = std::make_unique<dirtree::TreeDialogs>([this] { return language_; });
  if (!services_.openFile)
    services_.openFile = [](const QString& file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };
  if (!services_.askAddress)
    services_.askAddress = [this](const QString& prompt) -> std::optional<QString> {
      bool ok = false;
      const QString address = QInputDialog::getText(this, QApplication::applicationDisplayName(), prompt,
                                                     QLineEdit::Normal, QStringLiteral("smb://"), &ok);
      if (!ok) return std::nullopt;
      return address;
    };
  if (!services_.chooseOne)
    services_.chooseOne = [this](const QString& prompt, const QStringList& choices) -> std::optional<int> {
      bool ok = false;
      const QString chosen =
          QInputDialog::getItem(this, QApplication::applicationDisplayName(), prompt, choices, 0, false, &ok);
      if (!ok) return std::nullopt;
      return int(choices.indexOf(chosen));
    };

  if (!services_.sumTree) services_.sumTree = [](const QString& root, const std::atomic<bool>* stop) {
    return dirtree::SumTree(root, stop);
  };

  resize(180, 120);
  setColumnCount(1);
  setHeaderHidden(true);
  setSortingEnabled(false);
  setIconSize({16, 16});
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  // The selection stays as visible without the focus as with it.
  QPalette colours = palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   colours.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(colours);

  connect(this, &QTreeWidget::itemExpanded, this, &TDirTree::ReadChildren);
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
    SetEntryIcon(before, false);
    SetEntryIcon(now, true);
  });
  InstallLabelDelegate();
  BuildMenu();
  RebuildTree();
}

TDirTree::~TDirTree() = default;

void TDirTree::SetLanguage(TLanguage language) {
  language_ = language;
  if (QTreeWidgetItem* root = RootEntry()) root->setText(0, T(dirtree::Text::Computer));
  BuildMenu();
}

EntryKind TDirTree::KindOf(const QTreeWidgetItem* entry) const {
  if (!entry) return EntryKind::None;
  return EntryKind(entry->data(0, KindRole).toInt());
}

const dirtree::Drive* TDirTree::DriveOf(const QTreeWidgetItem* entry) const {
  if (KindOf(entry) != EntryKind::Drive) return nullptr;
  const int index = entry->data(0, DriveRole).toInt();
  return index >= 0 && index < int(drives_.size()) ? &drives_[std::size_t(index)] : nullptr;
}

QString TDirTree::PathOf(const QTreeWidgetItem* entry) const {
  switch (KindOf(entry)) {
    case EntryKind::Drive: return DriveOf(entry) ? DriveOf(entry)->root : QString();
    case EntryKind::Folder: return dirtree::JoinPath(PathOf(entry->parent()), entry->text(0));
    default: return {};
  }
}

void TDirTree::RebuildTree() {
  clear();
  drives_ = services_.drives->Drives();
  auto* root = new QTreeWidgetItem(this);
  root->setText(0, T(dirtree::Text::Computer));
  root->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
  root->setData(0, KindRole, int(EntryKind::Root));
  root->setData(0, LoadedRole, true);
  AddDrives();
  root->setExpanded(true);
}

void TDirTree::AddDrives() {
  QTreeWidgetItem* root = RootEntry();
  if (!root || root->childCount() > 0) return;
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    const dirtree::Drive& drive = drives_[i];
    auto* entry = new QTreeWidgetItem(root);
    entry->setText(0, dirtree::DriveEntryText(drive));
    QStyle::StandardPixmap icon = QStyle::SP_DriveHDIcon;
    if (drive.network) icon = QStyle::SP_DriveNetIcon;
    else if (drive.id == QLatin1String("~")) icon = QStyle::SP_DirHomeIcon;
    else if (drive.removable) icon = QStyle::SP_DriveCDIcon;
    entry->setIcon(0, style()->standardIcon(icon));
    entry->setData(0, KindRole, int(EntryKind::Drive));
    entry->setData(0, DriveRole, int(i));
    entry->setData(0, NetworkRole, drive.network);
    entry->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
}

QTreeWidgetItem* TDirTree::AddFolderEntry(QTreeWidgetItem* parent, const QString& name, bool network) {
  auto* entry = new QTreeWidgetItem(parent);
  entry->setText(0, name);
  entry->setData(0, KindRole, int(EntryKind::Folder));
  entry->setData(0, NetworkRole, network);
  entry->setFlags(entry->flags() | Qt::ItemIsEditable);
  SetEntryIcon(entry, false);
  const bool button = network || dirtree::HasSubfolder(dirtree::JoinPath(PathOf(parent), name));
  entry->setChildIndicatorPolicy(button ? QTreeWidgetItem::ShowIndicator
                                        : QTreeWidgetItem::DontShowIndicatorWhenChildless);
  return entry;
}

void TDirTree::ReadChildren(QTreeWidgetItem* entry) {
  if (!entry || entry->data(0, LoadedRole).toBool()) return;
  entry->setData(0, LoadedRole, true);
  const QString path = PathOf(entry);
  const bool network = entry->data(0, NetworkRole).toBool();
  QStringList names;
  if (network) {
    // A network folder may answer slowly: read it off the user-interface
    // thread, then find the entry again.
    const QPersistentModelIndex index(indexFromItem(entry));
    dirtree::RunInBackground(this, [&] { names = dirtree::SubfolderNames(path); });
    entry = index.isValid() ? itemFromIndex(index) : nullptr;
    if (!entry) return;
  } else {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    names = dirtree::SubfolderNames(path);
    QApplication::restoreOverrideCursor();
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (const QString& name : names) AddFolderEntry(entry, name, network);
  if (entry->childCount() == 0) entry->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  QApplication::restoreOverrideCursor();
}

void TDirTree::LoadChildren(QTreeWidgetItem* entry) {
  if (!entry) return;
  entry->setExpanded(true);
  ReadChildren(entry);  // also when the view had nothing to expand
}

void TDirTree::CollapseAll(QTreeWidgetItem* entry) {
  if (!entry) return;
  for (int i = 0; i < entry->childCount(); ++i) CollapseAll(entry->child(i));
  entry->setExpanded(false);
}

void TDirTree::SetEntryIcon(QTreeWidgetItem* entry, bool open) {
  if (KindOf(entry) != EntryKind::Folder) return;
  entry->setIcon(0, style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
}

platform::Dialogs& TDirTree::Boxes() { return services_.dialogs ? *services_.dialogs : *ownDialogs_; }

void TDirTree::ErrorBox(const QString& text) {
  Boxes().ShowMessage(text, platform::Buttons::Ok, platform::BoxKind::Error);
}

void TDirTree::InfoBox(const QString& text) {
  Boxes().ShowMessage(text, platform::Buttons::Ok, platform::BoxKind::Information);
}

bool TDirTree::Ask(const QString& text) {
  return Boxes().ShowMessage(text, platform::Buttons::YesNo, platform::BoxKind::Confirmation) ==
         platform::Answer::Yes;
}
