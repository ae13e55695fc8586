// The directory chooser: a small tool window, 369 x 332, black, filled by
// one directory tree. It is made once, right after the main
// window, and stays hidden until the setup panel's folder button shows it
// modally; the tree and its selection therefore stay as the user left them.
// A double click in the tree copies the tree's SelectedPath unchanged into
// the game directory box and closes the chooser; closing it otherwise
// changes nothing.
#pragma once
#include <QDialog>
#include <QLineEdit>
#include <QPointer>

#include "dirtree/dir_tree.h"

class DirectoryChooser : public QDialog {
  Q_OBJECT

 public:
  // `target` is the box a double click writes into (the game directory's).
  explicit DirectoryChooser(QLineEdit* target, DirTreeServices treeServices = {}, QWidget* parent = nullptr);

  TDirTree* tree = nullptr;

  // The tree's double click: its selected path into the box, then closed.
  void TakeSelectedFolder(QObject* Sender);

 protected:
  // Centres the window on its screen each time it is shown.
  void showEvent(QShowEvent* event) override;

 private:
  QPointer<QLineEdit> target_;
};
