#include "transfer/internal/progress_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "transfer/internal/transfer_animation.h"

TFileTransferDialog::TFileTransferDialog(const RunSettings& s)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           (s.AlwaysOnTop ? Qt::WindowStaysOnTopHint : Qt::WindowType(0))) {
  const int height = s.ShowTime ? 212 : 192;
  const int inner = kWidth - 20;
  setFixedSize(kWidth, height);
  setWindowTitle(s.DlgCaption + QStringLiteral(" ..."));

  animation_ = new TransferAnimation(this);
  animation_->setGeometry(10, 0, inner, 56);
  bar_ = new QProgressBar(this);
  bar_->setGeometry(10, 60, inner, 12);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  fileLine_ = Line(80, s.DlgFileLabel);
  progressLine_ = Line(100, s.DlgProgressLabel);
  rateLine_ = Line(120, s.DlgRateLabel);
  timeLine_ = Line(140, s.DlgTimeLabel);
  timeLine_->setVisible(s.ShowTime);

  const int top = s.ShowTime ? 160 : 140;
  cancel_ = Button(kWidth - kButtonWidth - 10, top, QStringLiteral("Cancel"), true);
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (OnCancelClick) OnCancelClick();
  });
  const int secondLeft = kWidth - 2 * kButtonWidth - 20;
  if (s.ShowOpenFolder) {
    openFolder_ = Button(secondLeft, top, QStringLiteral("Open folder"), false);
    connect(openFolder_, &QPushButton::clicked, this, [this] {
      if (OnOpenFolderClick) OnOpenFolderClick();
    });
  }
  if (s.ShowOpenFile) {
    openFile_ = Button(s.ShowOpenFolder ? secondLeft - kButtonWidth - 10 : secondLeft, top,
                       QStringLiteral("Open file"), false);
    connect(openFile_, &QPushButton::clicked, this, [this] {
      if (OnOpenFileClick) OnOpenFileClick();
    });
  }

  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(kWidth / 2, height / 2));
  animation_->SetClip(TransferClip::Download);
}

QLabel* TFileTransferDialog::Line(int top, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setTextFormat(Qt::PlainText);  // file names and hosts come from outside
  label->setGeometry(10, top, kWidth - 20, 16);
  return label;
}

QPushButton* TFileTransferDialog::Button(int left, int top, const QString& text, bool enabled) {
  auto* button = new QPushButton(text, this);
  button->setGeometry(left, top, kButtonWidth, kButtonHeight);
  button->setEnabled(enabled);
  button->setAutoDefault(false);
  return button;
}

void TFileTransferDialog::SetFileLine(const QString& text) { fileLine_->setText(text); }

void TFileTransferDialog::SetProgress(int position, const QString& text) {
  if (position >= 0) bar_->setValue(position);
  progressLine_->setText(text);
}

void TFileTransferDialog::SetRateLine(const QString& text) { rateLine_->setText(text); }
void TFileTransferDialog::SetTimeLine(const QString& text) { timeLine_->setText(text); }

void TFileTransferDialog::SetClip(TransferClip clip) { animation_->SetClip(clip); }

void TFileTransferDialog::EndOfRun(bool cancelled) {
  cancel_->setText(QStringLiteral("Close"));
  animation_->Stop();
  for (QPushButton* open : {openFile_, openFolder_})
    if (open) open->setEnabled(!cancelled);
}
