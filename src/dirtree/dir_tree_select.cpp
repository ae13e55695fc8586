// TDirTree: selection by mouse and keyboard, navigation to a path, F5.
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionViewItem>

#include "dirtree/dir_listing.h"
#include "dirtree/dir_tree.h"
#include "platform/os/dialogs.h"

using dirtree::EntryKind;

QTreeWidgetItem* TDirTree::EntryAtLabel(const QPoint& pos) const {
  QTreeWidgetItem* entry = itemAt(pos);
  if (!entry) return nullptr;
  // Only the icon and the text count, not the indentation or the free
  // space to their right.
  const QRect rect = visualItemRect(entry);
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const int width = itemDelegate()->sizeHint(option, indexFromItem(entry)).width();
  return pos.x() >= rect.left() && pos.x() < rect.left() + width ? entry : nullptr;
}

// The view moves its current entry to any row pressed or dragged over; only
// a press on a label selects, so elsewhere the current entry goes back.
void TDirTree::KeepCurrent(QTreeWidgetItem* before) {
  if (currentItem() == before) return;
  selectionModel()->setCurrentIndex(before ? indexFromItem(before) : QModelIndex(), QItemSelectionModel::NoUpdate);
}

void TDirTree::mousePressEvent(QMouseEvent* event) {
  QTreeWidgetItem* entry = EntryAtLabel(event->position().toPoint());
  QTreeWidgetItem* before = currentItem();
  pressOnLabel_ = entry != nullptr;
  QTreeWidget::mousePressEvent(event);
  pressOnLabel_ = false;
  if (entry) SelectEntry(entry);
  else KeepCurrent(before);
}

void TDirTree::mouseMoveEvent(QMouseEvent* event) {
  QTreeWidgetItem* before = currentItem();
  QTreeWidget::mouseMoveEvent(event);
  KeepCurrent(before);
}

QItemSelectionModel::SelectionFlags TDirTree::selectionCommand(const QModelIndex& index, const QEvent* event) const {
  if (event) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: case QEvent::MouseButtonDblClick:
        if (pressOnLabel_) break;
        return QItemSelectionModel::NoUpdate;
      case QEvent::MouseMove: case QEvent::MouseButtonRelease:
        return QItemSelectionModel::NoUpdate;
      default: break;
    }
  }
  return QTreeWidget::selectionCommand(index, event);
}

// A click on the selected entry's label starts its editing, not one beside it.
bool TDirTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (trigger == SelectedClicked && event && event->type() == QEvent::MouseButtonRelease &&
      !EntryAtLabel(static_cast<QMouseEvent*>(event)->position().toPoint()))
    return false;
  return QTreeWidget::edit(index, trigger, event);
}

void TDirTree::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidget::mouseDoubleClickEvent(event);
  if (OnDblClick) OnDblClick(this);
}

void TDirTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F5) {
    Refresh();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void TDirTree::keyReleaseEvent(QKeyEvent* event) {
  QTreeWidget::keyReleaseEvent(event);
  if (event->isAutoRepeat() || state() == QAbstractItemView::EditingState) return;
  switch (event->key()) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
      SelectEntry(currentItem());
      break;
    default: break;
  }
}

void TDirTree::SelectEntry(QTreeWidgetItem* entry) {
  if (!entry) return;
  if (currentItem() != entry) setCurrentItem(entry);
  const EntryKind kind = KindOf(entry);
  if (kind == EntryKind::Root) AddDrives();
  selectedPath_ = kind == EntryKind::Root ? QStringLiteral("Drives") : PathOf(entry);
  if (const dirtree::Drive* drive = DriveOf(entry); drive && drive->removable &&
                                                    !services_.drives->IsReady(*drive)) {
    Boxes().MessageBeep(platform::Beep::Error);
    Boxes().ShowMessage(T(dirtree::Text::DriveNotReady), platform::Buttons::Ok, platform::BoxKind::Warning);
    return;
  }
  if (OnDirChange) OnDirChange(this, selectedPath_);
  if (FileList) FileList->SetDirectory(selectedPath_);
}

// The entry becomes the selection without the user's selection steps; none
// for null.
void TDirTree::Reselect(QTreeWidgetItem* entry) {
  if (!entry) clearSelection();
  setCurrentItem(entry);
  if (entry) scrollToItem(entry);
}

void TDirTree::NavigateTo(const QString& path) {
  if (path.isEmpty()) return;
  const QString clean = QDir::cleanPath(path);
  if (!QDir::isAbsolutePath(clean) || !QFileInfo(clean).isDir()) return;
  const QString target = clean.endsWith('/') ? clean : clean + '/';

  QTreeWidgetItem* root = RootEntry();
  if (!root) return;
  // Where the highlight goes back to when the path isn't found in the tree:
  // SelectedPath stays, so the highlight stays on what it names.
  const QPersistentModelIndex before(currentIndex());
  const auto giveUp = [this, &before] { Reselect(before.isValid() ? itemFromIndex(before) : nullptr); };
  AddDrives();
  if (root->isExpanded()) CollapseAll(root);
  std::vector<QString> roots;
  for (int i = 0; i < root->childCount(); ++i) roots.push_back(PathOf(root->child(i)));
  const int drive = dirtree::MatchDriveRoot(roots, target);
  if (drive < 0) return giveUp();
  root->setExpanded(true);
  QTreeWidgetItem* entry = root->child(drive);
  Reselect(entry);
  LoadChildren(entry);
  for (const QString& component : target.mid(roots[std::size_t(drive)].size()).split('/', Qt::SkipEmptyParts)) {
    QStringList names;
    for (int i = 0; i < entry->childCount(); ++i) names << entry->child(i)->text(0);
    const int found = dirtree::MatchName(names, component);
    if (found < 0) return giveUp();
    entry = entry->child(found);
    Reselect(entry);
    LoadChildren(entry);
  }
  // Paths differing only in letter case are different folders here.
  if (target == selectedPath_) return;
  selectedPath_ = target;
  if (OnDirChange) OnDirChange(this, selectedPath_);
  if (FileList) FileList->SetDirectory(selectedPath_);
}

void TDirTree::Refresh() {
  const QString path = selectedPath_;
  RebuildTree();
  NavigateTo(path);
}
