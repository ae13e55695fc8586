#include "dirtree/background_work.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <thread>

namespace dirtree {
namespace {

// The wait cursor on and `busy` disabled for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(QWidget* busy) : busy_(busy), hadFocus_(busy && busy->hasFocus()) {
    if (busy_) busy_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~BusyScope() {
    QApplication::restoreOverrideCursor();
    if (!busy_) return;
    busy_->setEnabled(true);
    if (hadFocus_) busy_->setFocus();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  QPointer<QWidget> busy_;
  bool hadFocus_;
};

}  // namespace

void RunInBackground(QWidget* busy, const std::function<void()>& work) {
  const BusyScope scope(busy);
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
}

bool RunStoppable(QWidget* busy, const WaitTexts& texts, std::function<void(const std::atomic<bool>& stop)> work) {
  // Shared with the worker, which may outlive this call once stopped.
  struct State {
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
  };
  const auto state = std::make_shared<State>();
  std::thread([state, work = std::move(work)] {
    try {
      work(state->stop);
    } catch (...) {
      // The work reports its own failures; nothing may escape the thread.
    }
    state->finished = true;
  }).detach();

  const BusyScope scope(busy);
  // A window parented to a disabled widget would be disabled with it.
  QWidget* owner = busy && busy->window() != busy ? busy->window() : nullptr;
  QProgressDialog wait(texts.text, texts.cancel, 0, 0, owner);
  wait.setObjectName(QStringLiteral("TreeWalkWait"));
  wait.setWindowTitle(texts.title);
  wait.setWindowModality(Qt::WindowModal);
  wait.setMinimumDuration(400);
  wait.setAutoReset(false);
  wait.setAutoClose(false);

  QEventLoop loop;
  const auto stop = [&] {
    state->stop = true;
    loop.quit();
  };
  QObject::connect(&wait, &QProgressDialog::canceled, &loop, stop);
  QObject::connect(&wait, &QDialog::rejected, &loop, stop);
  // The worker touches nothing of Qt; its end is noticed here.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (state->finished) loop.quit();
  });
  poll.start(20);
  wait.setValue(0);  // shows the window once the minimum duration has passed
  if (!state->finished) loop.exec();
  return state->finished && !state->stop;
}

}  // namespace dirtree
