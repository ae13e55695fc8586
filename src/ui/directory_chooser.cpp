#include "ui/directory_chooser.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "skin/ui_style.h"

DirectoryChooser::DirectoryChooser(QLineEdit* target, DirTreeServices treeServices, QWidget* parent)
    : QDialog(parent, ui_style::kSmallWindowFlags), target_(target) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Quavik RC5 - Anwendungsverzeichnis suchen..."));
  setFixedSize(369, 332);
  ui_style::PaintBlackWindow(this, palette().color(QPalette::WindowText));

  tree = new TDirTree(this, std::move(treeServices));
  tree->setObjectName(QStringLiteral("DirTree1"));
  tree->setIndentation(19);
  tree->setFocusPolicy(Qt::StrongFocus);
  tree->SetLanguage(lnEnglish);
  tree->OnDblClick = [this](QObject* Sender) { TakeSelectedFolder(Sender); };
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree);
}

void DirectoryChooser::TakeSelectedFolder(QObject*) {
  if (target_) target_->setText(tree->SelectedPath());
  close();
}

void DirectoryChooser::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2) + (pos() - frame.topLeft()));
  }
}
