#include "ui/directory_chooser.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/ui_style.h"

TForm2::TForm2(QLineEdit* set_todir, DirTreeServices treeServices, QWidget* parent)
    : QDialog(parent, ui_style::kSmallWindowFlags), set_todir_(set_todir) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Quavik RC5 - Anwendungsverzeichnis suchen..."));
  setFixedSize(369, 332);
  ui_style::PaintBlackWindow(this, palette().color(QPalette::WindowText));

  DirTree1 = new TDirTree(this, std::move(treeServices));
  DirTree1->setObjectName(QStringLiteral("DirTree1"));
  DirTree1->setIndentation(19);
  DirTree1->setFocusPolicy(Qt::StrongFocus);
  DirTree1->SetLanguage(lnEnglish);
  DirTree1->OnDblClick = [this](QObject* Sender) { DirTree1DblClick(Sender); };
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(DirTree1);
}

void TForm2::DirTree1DblClick(QObject*) {
  if (set_todir_) set_todir_->setText(DirTree1->SelectedPath());
  close();
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    move(area.center() - QPoint(frame.width() / 2, frame.height() / 2) + (pos() - frame.topLeft()));
  }
}
