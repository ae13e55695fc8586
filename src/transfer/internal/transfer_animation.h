// The small looping picture at the top of the progress dialog: a sheet of
// paper travelling between two places, painted frame by frame. The download
// clip carries it from a globe to a folder, the upload clip the other way,
// the copy clip from folder to folder.
#pragma once
#include <QTimer>
#include <QWidget>

#include "transfer/transfer_types.h"

class TransferAnimation : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFrames = 24;
  explicit TransferAnimation(QWidget* parent = nullptr);

  void SetClip(TransferClip clip);
  TransferClip Clip() const { return clip_; }
  void Play();
  void Stop();
  bool Playing() const { return timer_.isActive(); }
  int Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintGlobe(QPainter& p, const QRectF& box) const;
  void PaintFolder(QPainter& p, const QRectF& box) const;
  void PaintSheet(QPainter& p, const QPointF& centre) const;

  TransferClip clip_ = TransferClip::Download;
  QTimer timer_;
  int frame_ = 0;
};
