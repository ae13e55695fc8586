// Sends an opened local file to the server in blocks, with a progress update
// after every block: 4 KiB while someone watches the progress, 1 MiB
// otherwise. It sends at most `size` bytes (what the file held when it was
// opened) and stops at the end of the file, at the first failed read or
// write, or after a block once the run is cancelled. It reports no error
// itself: each path answers a failure in its own way.
#pragma once
#include <cstdint>
#include <functional>

class LocalFile;
class TransferRunContext;

enum class BlockSend {
  Sent,         // read to the end
  ReadFailed,   // the local file broke off
  WriteFailed,  // the sink refused a block
  Cancelled,    // the run was cancelled (also after the last block)
};

struct BlockSendResult {
  BlockSend outcome;
  std::int64_t bytes;  // handed to the sink
};

// `size` is the total shown in the progress; `write` takes one block and
// says whether it went out.
BlockSendResult SendInBlocks(TransferRunContext& context, LocalFile& file, std::int64_t size,
                             const std::function<bool(const char*, std::int64_t)>& write);
