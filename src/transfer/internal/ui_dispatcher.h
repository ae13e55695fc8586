// The bond between a component on the user-interface thread and its worker.
// The worker hands calls over with OnUi: each runs on the user-interface
// thread while the worker waits (directly when the caller already is that
// thread) and reaches the component as its run observer. Once the component
// is gone (Detach), calls are skipped and a waiting worker is released, so
// the worker never touches a dead component and the component's destructor
// never waits for the worker. OnUi runs no nested event loop: the worker
// blocks on a condition variable while the user-interface thread's own loop
// runs the call.
#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class TransferRunObserver;

class UiDispatcher : public std::enable_shared_from_this<UiDispatcher> {
 public:
  explicit UiDispatcher(TransferRunObserver* owner) : owner_(owner) {}

  // Runs `call` on the user-interface thread and waits for it to return.
  // False when the component is gone and the call was skipped.
  bool OnUi(const std::function<void(TransferRunObserver&)>& call);

  // Called by the component's destructor, on the user-interface thread.
  void Detach();
  bool Attached() const { return owner_.load() != nullptr; }
  // True on the user-interface thread while a worker's call runs there (the
  // worker waits for it to return).
  bool CallRunning() const { return callsRunning_ > 0; }

 private:
  int callsRunning_ = 0;  // user-interface thread only
  std::atomic<TransferRunObserver*> owner_;
  std::mutex mutex_;
  std::condition_variable finished_;
};
