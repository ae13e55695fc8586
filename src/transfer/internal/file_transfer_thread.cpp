#include "transfer/internal/file_transfer_thread.h"

#include <chrono>
#include <exception>
#include <thread>

#include "transfer/internal/file_transfer_run.h"
#include "transfer/internal/ui_dispatcher.h"

void TransferQueue::Enqueue(std::shared_ptr<TransferRun> run, std::shared_ptr<UiDispatcher> ui,
                            const std::shared_ptr<TransferQueue>& self) {
  bool launch = false;
  {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(run));
    launch = !workerGoing_;
    workerGoing_ = true;
  }
  if (launch) TFileTransferThread::Launch(self, std::move(ui));
}

bool TransferQueue::Busy() const {
  std::lock_guard lock(mutex_);
  return workerGoing_;
}

void TransferQueue::Abandon() {
  std::lock_guard lock(mutex_);
  waiting_.clear();
  if (current_) current_->cancel->store(true);
}

bool TransferQueue::WaitForWorkerEnd(int timeoutMs) {
  std::unique_lock lock(mutex_);
  return workerEnded_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !workerGoing_; });
}

std::shared_ptr<TransferRun> TransferQueue::Next() {
  std::lock_guard lock(mutex_);
  current_.reset();
  if (waiting_.empty()) {
    workerGoing_ = false;
    workerEnded_.notify_all();
    return nullptr;
  }
  current_ = waiting_.front();
  waiting_.pop_front();
  return current_;
}

void TFileTransferThread::Launch(std::shared_ptr<TransferQueue> queue, std::shared_ptr<UiDispatcher> ui) {
  auto worker = std::unique_ptr<TFileTransferThread>(new TFileTransferThread(std::move(queue), std::move(ui)));
  std::thread([worker = std::move(worker)] { worker->Execute(); }).detach();
}

void TFileTransferThread::Execute() {
  while (std::shared_ptr<TransferRun> run = queue_->Next()) {
    if (!ui_->Attached()) continue;
    try {
      CopyAll(*run, *ui_);
    } catch (const std::exception&) {
      // Nothing may leave the worker; the run is over and the next one goes.
    }
  }
}
