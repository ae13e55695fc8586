// Long file work (tree sizes, copies, mounts) off the user-interface thread.
#pragma once
#include <QString>
#include <atomic>
#include <functional>

class QWidget;

namespace dirtree {

// Runs `work` on a worker thread and waits for it in a nested event loop,
// so the window goes on painting and processing its events; the mouse
// pointer shows the wait cursor and `busy` (may be null) is disabled
// meanwhile, so no second command starts. Returns when `work` has returned.
void RunInBackground(QWidget* busy, const std::function<void()>& work);

// The texts of the wait window of RunStoppable.
struct WaitTexts {
  QString title, text, cancel;
};

// Like RunInBackground, for work the user may stop: when it takes longer
// than a moment a small wait window shows `texts` with a Cancel button, and
// Cancel, Escape or closing the window sets the flag `work` is given, which
// it polls. Returns true when `work` finished, false when it was stopped;
// then it returns at once and leaves `work` to end on its thread, so `work`
// must own everything it uses. Waits in a nested event loop.
bool RunStoppable(QWidget* busy, const WaitTexts& texts, std::function<void(const std::atomic<bool>& stop)> work);

}  // namespace dirtree
