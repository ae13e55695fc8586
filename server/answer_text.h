// The body of an answer as a row of read-only pieces, shared by every answer
// that contains them and never changed once made: the roster's four-line
// answer is one piece per stretch of members, so a report rebuilds only the
// piece of its own member, and a connection sends the pieces as they are.
//
// Each piece can also be compressed on its own (raw deflate that ends on a
// byte boundary and refers to nothing before it), once, by the first answer
// asked for in gzip; the gzip form of a whole answer is a fixed header, the
// compressed pieces in order and a short tail of its own, whose checksum is
// combined from the pieces' checksums. So a changed piece costs one
// compression, however large the rest of the answer.
#pragma once
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "answer_memory.h"

namespace clan {

class AnswerPiece {
 public:
  // `held`: the piece's share of the answer memory, if it is counted.
  explicit AnswerPiece(std::string text, std::shared_ptr<void> held = {});

  const std::string& Text() const { return text_; }

  struct Compressed {
    std::string deflated;  // raw deflate, not final, ending byte-aligned
    unsigned long crc = 0;  // CRC-32 of Text()
    unsigned long appendCrc = 0;    // zlib's operator that appends Text()'s CRC
    std::shared_ptr<void> held;
  };
  // The piece compressed on its own; none when the answer memory has no room
  // for it (then asked again next time).
  const Compressed* Deflated(AnswerMemory& memory) const;

 private:
  // Declared first, so that the share is given back after the text is freed.
  const std::shared_ptr<void> held_;
  const std::string text_;
  mutable std::mutex mutex_;
  mutable std::optional<Compressed> compressed_;
};

using PieceRef = std::shared_ptr<const AnswerPiece>;

class AnswerText {
 public:
  explicit AnswerText(std::vector<PieceRef> pieces);
  // A short text of its own, uncounted (status texts, a refusal).
  static std::shared_ptr<const AnswerText> Of(std::string text);

  const std::vector<PieceRef>& Pieces() const { return pieces_; }
  std::size_t Size() const { return size_; }
  std::string Flatten() const;

  // The answer in gzip form, as buffers to send one after the other; they
  // stay valid as long as this answer does. None when the answer memory has
  // no room for a piece's compressed form.
  std::optional<std::vector<std::string_view>> Gzip(AnswerMemory& memory) const;

 private:
  const std::vector<PieceRef> pieces_;
  const std::size_t size_;
  mutable std::mutex mutex_;
  mutable std::string gzipTail_;  // made once: the final block and the trailer
};

using AnswerRef = std::shared_ptr<const AnswerText>;

}  // namespace clan
