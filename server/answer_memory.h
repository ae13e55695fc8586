// The memory that the bodies of answers (their pieces) hold until they are
// sent, bounded all together. A piece is shared, read-only, by every answer
// and connection that sends it, and counted once for as long as any of them
// holds it. When the last holder of a large piece lets go, the freed memory
// is given back to the system, so that a burst of answers leaves no lasting
// weight behind. Thread-safe; a share may outlive this object.
#pragma once
#include <cstddef>
#include <memory>

namespace clan {

class AnswerMemory {
 public:
  explicit AnswerMemory(std::size_t bound);

  // True when the bodies held leave room for more.
  bool HasRoom() const;
  // A share of the bound for `bytes` held elsewhere, given back when the
  // last copy of the result goes; none when there is no room for it.
  std::shared_ptr<void> Reserve(std::size_t bytes);
  // The bytes the bodies held take now.
  std::size_t Held() const;

 private:
  struct Count;
  const std::size_t bound_;
  const std::shared_ptr<Count> count_;
};

}  // namespace clan
