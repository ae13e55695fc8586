#include "answer_text.h"

#include <zlib.h>

#include <numeric>

namespace clan {
namespace {

// Fast compression: a piece is compressed at most once per change, and the
// answer's text (names, addresses, dates) shrinks well even so.
constexpr int kLevel = 1;

constexpr char kGzipHeader[] = {'\x1f', '\x8b', 8, 0, 0, 0, 0, 0, 0, 3};  // deflate, no name, Unix
constexpr char kFinalEmptyBlock[] = {'\x03', '\x00'};

// One deflate state per thread, reset for each piece: setting one up costs
// far more than compressing a piece.
class Deflater {
 public:
  Deflater() { ok_ = deflateInit2(&stream_, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
  ~Deflater() {
    if (ok_) deflateEnd(&stream_);
  }

  // `text` as deflate blocks that end on a byte boundary without being the
  // last; none on failure.
  std::optional<std::string> Compress(const std::string& text) {
    if (!ok_ || deflateReset(&stream_) != Z_OK) return std::nullopt;
    std::string out(deflateBound(&stream_, text.size()) + 16, '\0');
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream_.avail_in = static_cast<uInt>(text.size());
    stream_.next_out = reinterpret_cast<Bytef*>(out.data());
    stream_.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream_, Z_SYNC_FLUSH) != Z_OK || stream_.avail_in != 0) return std::nullopt;
    out.resize(out.size() - stream_.avail_out);
    out.shrink_to_fit();
    return out;
  }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

void AppendLittleEndian(std::string& out, unsigned long value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

}  // namespace

AnswerPiece::AnswerPiece(std::string text, std::shared_ptr<void> held)
    : held_(std::move(held)), text_(std::move(text)) {}

const AnswerPiece::Compressed* AnswerPiece::Deflated(AnswerMemory& memory) const {
  std::lock_guard lock(mutex_);
  if (compressed_) return &*compressed_;
  thread_local Deflater deflater;
  auto deflated = deflater.Compress(text_);
  if (!deflated) return nullptr;
  auto held = memory.Reserve(deflated->capacity());
  if (!held) return nullptr;
  const auto* bytes = reinterpret_cast<const Bytef*>(text_.data());
  compressed_ = Compressed{std::move(*deflated), crc32(0, bytes, static_cast<uInt>(text_.size())),
                           crc32_combine_gen(static_cast<z_off_t>(text_.size())), std::move(held)};
  return &*compressed_;
}

AnswerText::AnswerText(std::vector<PieceRef> pieces)
    : pieces_(std::move(pieces)),
      size_(std::accumulate(pieces_.begin(), pieces_.end(), std::size_t{0},
                            [](std::size_t sum, const PieceRef& piece) {
                              return sum + piece->Text().size();
                            })) {}

AnswerRef AnswerText::Of(std::string text) {
  return std::make_shared<const AnswerText>(
      std::vector<PieceRef>{std::make_shared<const AnswerPiece>(std::move(text))});
}

std::string AnswerText::Flatten() const {
  std::string out;
  out.reserve(size_);
  for (const PieceRef& piece : pieces_) out += piece->Text();
  return out;
}

std::optional<std::vector<std::string_view>> AnswerText::Gzip(AnswerMemory& memory) const {
  std::vector<std::string_view> parts;
  parts.reserve(pieces_.size() + 2);
  parts.emplace_back(kGzipHeader, sizeof kGzipHeader);
  std::vector<const AnswerPiece::Compressed*> compressed;
  compressed.reserve(pieces_.size());
  for (const PieceRef& piece : pieces_) {
    const auto* deflated = piece->Deflated(memory);
    if (!deflated) return std::nullopt;
    compressed.push_back(deflated);
    parts.emplace_back(deflated->deflated);
  }
  std::lock_guard lock(mutex_);
  if (gzipTail_.empty()) {
    unsigned long crc = crc32(0, nullptr, 0);
    for (const auto* piece : compressed) crc = crc32_combine_op(crc, piece->crc, piece->appendCrc);
    gzipTail_.assign(kFinalEmptyBlock, sizeof kFinalEmptyBlock);
    AppendLittleEndian(gzipTail_, crc);
    AppendLittleEndian(gzipTail_, static_cast<unsigned long>(size_ & 0xffffffffu));
  }
  parts.emplace_back(gzipTail_);
  return parts;
}

}  // namespace clan
