// TImage: a picture control. It shows its pixmap (or nothing, for the
// invisible click areas drawn by the skin), never fills its background, and
// reports a left click (press and release inside the control) as clicked()
// and a left double click as doubleClicked(). Its hint is the tooltip.
#pragma once
#include <QLabel>
#include <QPixmap>

class TImage : public QLabel {
  Q_OBJECT

 public:
  explicit TImage(QWidget* parent = nullptr);
  // A hand-shaped pointer over the control.
  void SetHandCursor();

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};
