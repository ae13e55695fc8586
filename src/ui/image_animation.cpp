#include "ui/image_animation.h"

#include <QEvent>
#include <QTimer>

#include "ui/image_control.h"

namespace {

class ImageAnimation : public QObject {
 public:
  ImageAnimation(TImage* image, QVector<QPixmap> frames, int frameMilliseconds)
      : QObject(image), image_(image), frames_(std::move(frames)) {
    timer_.setInterval(frameMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
    image_->installEventFilter(this);
    if (!frames_.isEmpty()) image_->setPixmap(frames_.front());
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show && frames_.size() > 1) timer_.start();
    if (event->type() == QEvent::Hide) timer_.stop();
    return false;
  }

 private:
  void Step() {
    index_ = (index_ + 1) % frames_.size();
    image_->setPixmap(frames_[index_]);
  }

  TImage* image_;
  QVector<QPixmap> frames_;
  qsizetype index_ = 0;
  QTimer timer_;
};

}  // namespace

void AnimateImage(TImage* image, QVector<QPixmap> frames, int frameMilliseconds) {
  new ImageAnimation(image, std::move(frames), frameMilliseconds);
}
