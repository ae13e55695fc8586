// The worker side of a component: a queue of started runs and the thread
// that works through it. TFileTransferThread is started when a run is queued
// while none is going, copies the queued runs one after the other, and ends
// and frees itself when the queue is empty (or the component is gone).
#pragma once
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "transfer/internal/transfer_run.h"

class UiDispatcher;

class TransferQueue {
 public:
  // Queues `run`; starts a worker when none is going.
  void Enqueue(std::shared_ptr<TransferRun> run, std::shared_ptr<UiDispatcher> ui,
               const std::shared_ptr<TransferQueue>& self);
  bool Busy() const;
  // Cancels the run being copied and drops the waiting ones.
  void Abandon();
  // Waits up to `timeoutMs` for the worker to end; true when none is going.
  // Events are not processed meanwhile.
  bool WaitForWorkerEnd(int timeoutMs);

 private:
  friend class TFileTransferThread;
  // The next run, or null (and the worker is marked gone) when there is none.
  std::shared_ptr<TransferRun> Next();

  mutable std::mutex mutex_;
  std::condition_variable workerEnded_;
  std::deque<std::shared_ptr<TransferRun>> waiting_;
  std::shared_ptr<TransferRun> current_;
  bool workerGoing_ = false;
};

class TFileTransferThread {
 public:
  // Starts a detached worker that owns itself.
  static void Launch(std::shared_ptr<TransferQueue> queue, std::shared_ptr<UiDispatcher> ui);

 private:
  TFileTransferThread(std::shared_ptr<TransferQueue> queue, std::shared_ptr<UiDispatcher> ui)
      : queue_(std::move(queue)), ui_(std::move(ui)) {}
  void Execute();

  std::shared_ptr<TransferQueue> queue_;
  std::shared_ptr<UiDispatcher> ui_;
};
