// The progress dialog of a run: an animation, a bar, the file, progress,
// rate and (optional) time lines, a Cancel button that becomes Close at the
// end of the run, and optional Open file / Open folder buttons. The layout
// is fixed in pixels; the texts come from the component's Dlg properties.
// The dialog only shows and forwards clicks: what a button does is given
// by its owner through the On... callbacks.
#pragma once
#include <QDialog>
#include <functional>

#include "transfer/internal/transfer_run.h"
#include "transfer/transfer_types.h"

class QLabel;
class QProgressBar;
class QPushButton;
class TransferAnimation;

class TFileTransferDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 300;
  static constexpr int kButtonWidth = 75;
  static constexpr int kButtonHeight = 25;

  explicit TFileTransferDialog(const RunSettings& settings);

  void SetFileLine(const QString& text);
  // `position` < 0 leaves the bar where it is.
  void SetProgress(int position, const QString& text);
  void SetRateLine(const QString& text);
  void SetTimeLine(const QString& text);
  void SetClip(TransferClip clip);
  // Last step of a run with an Open button: Cancel becomes Close, the
  // animation stops, and the Open buttons are enabled unless cancelled.
  void EndOfRun(bool cancelled);

  std::function<void()> OnCancelClick;
  std::function<void()> OnOpenFileClick;
  std::function<void()> OnOpenFolderClick;

  QProgressBar* Bar() const { return bar_; }
  QLabel* FileLine() const { return fileLine_; }
  QLabel* ProgressLine() const { return progressLine_; }
  QLabel* RateLine() const { return rateLine_; }
  QLabel* TimeLine() const { return timeLine_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* OpenFileButton() const { return openFile_; }      // null unless configured
  QPushButton* OpenFolderButton() const { return openFolder_; }  // null unless configured
  TransferAnimation* Animation() const { return animation_; }

 protected:
  void reject() override {}  // Escape does not close it; Cancel does

 private:
  QLabel* Line(int top, const QString& text);
  QPushButton* Button(int left, int top, const QString& text, bool enabled);

  TransferAnimation* animation_;
  QProgressBar* bar_;
  QLabel* fileLine_;
  QLabel* progressLine_;
  QLabel* rateLine_;
  QLabel* timeLine_;
  QPushButton* cancel_;
  QPushButton* openFile_ = nullptr;
  QPushButton* openFolder_ = nullptr;
};
