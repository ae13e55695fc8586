// The folder contents window of the directory tree: a sizeable tool window
// on top of the tree listing one folder's files (not its subfolders) sorted
// by name. A double click opens a file with the desktop's application; OK
// (or closing the window) reports the selected file, if any, through
// OnClosed.
#pragma once
#include <QDialog>
#include <QString>
#include <functional>

#include "dirtree/dir_tree_texts.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;
namespace platform {
class Dialogs;
}

// "Files in " + `" <drive>/ "` for a drive, `"../<name> "` for a folder.
QString FolderContentsCaption(TLanguage language, const QString& folder, bool isDrive);

class TFolderContentsWindow : public QDialog {
  Q_OBJECT

 public:
  TFolderContentsWindow(QWidget* parent, const QString& folder, bool isDrive, TLanguage language,
                        std::function<bool(const QString&)> openFile, platform::Dialogs& dialogs);

  QListWidget* FileListBox = nullptr;
  QPushButton* OkButton = nullptr;

  // Full path of the selected file; empty when none is selected.
  QString ChosenFile() const;
  // Hides the window, opens `entry`'s file and shows the window again; an
  // error box when the file can't be opened.
  void OpenEntry(QListWidgetItem* entry);

  // Called once when the window closes, with ChosenFile() (empty when the
  // window was closed without OK).
  std::function<void(const QString& chosenFile)> OnClosed;

 protected:
  void done(int result) override;

 private:
  QString folder_;
  TLanguage language_;
  std::function<bool(const QString&)> openFile_;
  platform::Dialogs& dialogs_;
  bool reported_ = false;
};
