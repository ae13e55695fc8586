// Receives a download or copy block by block into the replacement file of
// its target, with a progress update after every block (the last, empty one
// too), and lets the finished file take the target's place. It stops at the
// end of the source, at the first failed read or write, or after a block
// once the run is cancelled; anything short of a complete body leaves the
// old target as it was (the replacement goes with its owner). What differs
// between the callers is said in the rules: the block sizes, which failure
// raises which error event, and which length the body must have. The send
// side is block_send.h.
#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "transfer/internal/local_file.h"
#include "transfer/internal/transfer_context.h"

class ReplacementFile;

// What one step moved into the file.
struct BlockMoved {
  enum Fault { None, ReadFailed, WriteFailed };
  std::int64_t bytes = 0;  // 0 at the end of the source
  Fault fault = None;
};

// Moves up to `max` bytes (> 0) from the source into `out`.
using BlockMover = std::function<BlockMoved(LocalFile& out, std::int64_t max)>;

struct ReceiveRules {
  QString captionWord;       // the dialog's caption while receiving
  std::int64_t startMs = 0;  // the transfer's start on the steady clock
  std::int64_t total = 0;    // the progress total; 0 when unknown
  // The block size while anyone watches the progress, and while nobody
  // does; for a network body the latter is whatever the connection has
  // delivered up to that size.
  std::int64_t observedBlock = 4096;
  std::int64_t unobservedBlock = 1 << 20;
  // The source holds exactly `total` bytes: no more are asked for, and a
  // source that ends sooner broke off (a failed read).
  bool exactTotal = false;
  // Asked once the source has ended: whether the length received is what
  // the sender said. A length it refuses fails the item without an event.
  std::function<bool(std::int64_t received)> lengthAgrees;
  // Raised when the source breaks off; none: the item fails quietly.
  std::optional<TransferError> readError;
  // Raised when a block, or what is still buffered at the end, can't be
  // written; none: the item fails quietly.
  std::optional<TransferError> writeError;
  // Raised when the finished file can't take the target's place.
  TransferError replaceError{TransferErrorCode::CannotCreateTarget, QString()};
};

struct Received {
  bool replaced = false;  // the target holds the complete body now
  std::int64_t bytes = 0;
};

Received ReceiveInBlocks(TransferRunContext& context, ReplacementFile& file, const ReceiveRules& rules,
                         const BlockMover& move);

// The mover for a source that hands out blocks it holds itself
// (`ReadInPlace(max, block)`: the count, 0 at the end, -1 when it broke off).
template <class Source>
BlockMover InPlaceMover(Source& source) {
  return [&source](LocalFile& out, std::int64_t max) -> BlockMoved {
    const char* block = nullptr;
    const std::int64_t got = source.ReadInPlace(max, block);
    if (got < 0) return {0, BlockMoved::ReadFailed};
    if (got > 0 && !out.Write(block, got)) return {0, BlockMoved::WriteFailed};
    return {got, BlockMoved::None};
  };
}
