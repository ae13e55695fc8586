#include "dirtree/folder_contents_window.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dirtree/dir_listing.h"
#include "platform/os/dialogs.h"

QString FolderContentsCaption(TLanguage language, const QString& folder, bool isDrive) {
  const QString shown = isDrive ? QStringLiteral("\" ") + folder + QStringLiteral(" \"")
                                : QStringLiteral("\"../") + QFileInfo(folder).fileName() + QStringLiteral(" \"");
  return dirtree::Tr(language, dirtree::Text::FilesIn) + shown;
}

TFolderContentsWindow::TFolderContentsWindow(QWidget* parent, const QString& folder, bool isDrive,
                                             TLanguage language, std::function<bool(const QString&)> openFile,
                                             platform::Dialogs& dialogs)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      folder_(folder),
      language_(language),
      openFile_(std::move(openFile)),
      dialogs_(dialogs) {
  setObjectName(QStringLiteral("FolderContents"));
  setWindowTitle(FolderContentsCaption(language, folder, isDrive));
  setSizeGripEnabled(true);

  FileListBox = new QListWidget(this);
  FileListBox->setObjectName(QStringLiteral("FileListBox"));
  FileListBox->setViewMode(QListView::ListMode);
  FileListBox->setFlow(QListView::TopToBottom);
  FileListBox->setWrapping(true);
  FileListBox->setResizeMode(QListView::Adjust);
  FileListBox->setIconSize({16, 16});
  FileListBox->setToolTip(dirtree::Tr(language, dirtree::Text::FilesHint));
  const QFileIconProvider icons;
  for (const QString& name : dirtree::FileNames(folder)) {
    auto* entry = new QListWidgetItem(icons.icon(QFileInfo(dirtree::JoinPath(folder, name))), name, FileListBox);
    entry->setData(Qt::UserRole, dirtree::JoinPath(folder, name));
  }
  if (FileListBox->count() > 0) FileListBox->setCurrentRow(0);
  connect(FileListBox, &QListWidget::itemDoubleClicked, this, &TFolderContentsWindow::OpenEntry);

  auto* bar = new QFrame(this);
  bar->setFixedHeight(22);
  OkButton = new QPushButton(dirtree::Tr(language, dirtree::Text::OkButton), bar);
  OkButton->setObjectName(QStringLiteral("OkButton"));
  OkButton->setFixedSize(60, 22);
  OkButton->setDefault(true);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* barLayout = new QHBoxLayout(bar);
  barLayout->setContentsMargins(0, 0, 0, 0);
  barLayout->addStretch();
  barLayout->addWidget(OkButton);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(FileListBox);
  layout->addWidget(bar);
}

QString TFolderContentsWindow::ChosenFile() const {
  const QListWidgetItem* entry = FileListBox->currentItem();
  return entry && entry->isSelected() ? entry->data(Qt::UserRole).toString() : QString();
}

void TFolderContentsWindow::OpenEntry(QListWidgetItem* entry) {
  if (!entry) return;
  const QString file = entry->data(Qt::UserRole).toString();
  hide();
  const bool opened = openFile_(file);
  show();
  if (!opened)
    dialogs_.ShowMessage(dirtree::Tr(language_, dirtree::Text::CantOpenFile).arg(entry->text()),
                         platform::Buttons::Ok, platform::BoxKind::Error);
}

void TFolderContentsWindow::done(int result) {
  QDialog::done(result);
  if (reported_) return;
  reported_ = true;
  if (OnClosed) OnClosed(result == QDialog::Accepted ? ChosenFile() : QString());
}
