#include "transfer/internal/block_send.h"

#include <algorithm>
#include <vector>

#include "transfer/internal/local_file.h"
#include "transfer/internal/transfer_context.h"

namespace {
constexpr std::int64_t kBlock = 4096;
// Unobserved, the file goes out in larger pieces.
constexpr std::int64_t kUnobservedBlock = 1 << 20;
}  // namespace

BlockSendResult SendInBlocks(TransferRunContext& context, LocalFile& file, std::int64_t size,
                             const std::function<bool(const char*, std::int64_t)>& write) {
  const std::int64_t start = TransferRunContext::NowMs();
  const std::int64_t blockSize = context.ProgressObserved() ? kBlock : kUnobservedBlock;
  std::vector<char> buffer(static_cast<std::size_t>(blockSize));
  std::int64_t done = 0;
  std::int64_t got = 0;
  do {
    // What the file held when it was opened: bytes it gained since stay.
    got = file.Read(buffer.data(), std::min(blockSize, std::max<std::int64_t>(size - done, 0)));
    if (got < 0) return {BlockSend::ReadFailed, done};
    if (!write(buffer.data(), got)) return {BlockSend::WriteFailed, done};
    done += got;
    context.Progress(done, size, start, context.Settings().DlgUpload);
  } while (got == blockSize && !context.Cancelled());
  return {context.Cancelled() ? BlockSend::Cancelled : BlockSend::Sent, done};
}
