#include "dirtree/background_work.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <thread>

namespace dirtree {

void RunInBackground(QWidget* busy, const std::function<void()>& work) {
  QPointer<QWidget> guard(busy);
  const bool hadFocus = busy && busy->hasFocus();
  if (guard) guard->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QEventLoop loop;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      // The work reports its own failures; nothing may escape the thread.
    }
    // Delivered once the loop runs, even when the work was quicker.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  QApplication::restoreOverrideCursor();
  if (guard) {
    guard->setEnabled(true);
    if (hadFocus) guard->setFocus();
  }
}

}  // namespace dirtree
