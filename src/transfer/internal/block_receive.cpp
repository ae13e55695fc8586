#include "transfer/internal/block_receive.h"

#include <algorithm>

#include "transfer/internal/replacement_file.h"

Received ReceiveInBlocks(TransferRunContext& context, ReplacementFile& file, const ReceiveRules& rules,
                         const BlockMover& move) {
  const std::int64_t blockSize = context.ProgressObserved() ? rules.observedBlock : rules.unobservedBlock;
  std::int64_t done = 0;
  std::int64_t got = 0;
  do {
    const std::int64_t want = rules.exactTotal ? std::min(blockSize, rules.total - done) : blockSize;
    BlockMoved moved;  // nothing wanted: all there was has come
    if (want > 0) {
      moved = move(file.File(), want);
      if (rules.exactTotal && moved.fault == BlockMoved::None && moved.bytes == 0) moved.fault = BlockMoved::ReadFailed;
    }
    if (moved.fault != BlockMoved::None) {
      const std::optional<TransferError>& error =
          moved.fault == BlockMoved::ReadFailed ? rules.readError : rules.writeError;
      if (error) context.Error(*error);
      return {false, done};
    }
    got = moved.bytes;
    done += got;
    context.Progress(done, rules.total, rules.startMs, rules.captionWord);
  } while (got > 0 && !context.Cancelled());

  if (context.Cancelled()) return {false, done};
  if (rules.lengthAgrees && !rules.lengthAgrees(done)) return {false, done};
  if (!file.Finish()) {  // bytes still buffered could not be written
    if (rules.writeError) context.Error(*rules.writeError);
    return {false, done};
  }
  if (!file.Replace()) {
    context.Error(rules.replaceError);
    return {false, done};
  }
  return {true, done};
}
