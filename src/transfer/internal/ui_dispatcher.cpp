#include "transfer/internal/ui_dispatcher.h"

#include <QCoreApplication>
#include <QThread>

namespace {

struct PendingCall {
  bool started = false;
  bool done = false;
};

}  // namespace

bool UiDispatcher::OnUi(const std::function<void(TransferRunObserver&)>& call) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() == app->thread()) {
    TransferRunObserver* owner = owner_.load();
    if (owner) call(*owner);
    return owner != nullptr;
  }
  if (!Attached()) return false;
  auto pending = std::make_shared<PendingCall>();
  auto self = shared_from_this();
  // `call` lives on the worker's stack: the worker waits until the call is
  // done, or until the component is detached before the call began (then
  // the call never begins, as both happen on the user-interface thread).
  const auto* callPtr = &call;
  QMetaObject::invokeMethod(
      app,
      [self, pending, callPtr] {
        struct MarkDone {
          UiDispatcher* dispatcher;
          PendingCall* pending;
          ~MarkDone() {
            {
              std::lock_guard lock(dispatcher->mutex_);
              pending->done = true;
            }
            dispatcher->finished_.notify_all();
          }
        } markDone{self.get(), pending.get()};
        TransferRunObserver* owner = self->owner_.load();
        if (!owner) return;
        {
          std::lock_guard lock(self->mutex_);
          pending->started = true;
        }
        ++self->callsRunning_;
        struct Running {
          int& count;
          ~Running() { --count; }
        } running{self->callsRunning_};
        (*callPtr)(*owner);
      },
      Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [&] { return pending->done || (!pending->started && !Attached()); });
  return pending->done && pending->started;
}

void UiDispatcher::Detach() {
  {
    std::lock_guard lock(mutex_);
    owner_.store(nullptr);
  }
  finished_.notify_all();
}
