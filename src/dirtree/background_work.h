// Long file work (tree sizes, copies, mounts) off the user-interface thread.
#pragma once
#include <functional>

class QWidget;

namespace dirtree {

// Runs `work` on a worker thread and waits for it in a nested event loop,
// so the window goes on painting and processing its events; the mouse
// pointer shows the wait cursor and `busy` (may be null) is disabled
// meanwhile, so no second command starts. Returns when `work` has returned.
void RunInBackground(QWidget* busy, const std::function<void()>& work);

}  // namespace dirtree
