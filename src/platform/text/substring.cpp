#include "platform/text/substring.h"

namespace platform {
namespace {

// The 0-based start and the length of Copy's result; length 0 for "".
template <typename Int>
std::pair<Int, Int> CopyRange(Int size, Int index, Int count) {
  if (index < 1) index = 1;
  if (index > size || count < 1) return {0, 0};
  const Int start = index - 1;
  const Int available = size - start;
  return {start, count < available ? count : available};
}

}  // namespace

long long Pos(std::string_view needle, std::string_view text) {
  if (needle.empty()) return 0;
  const size_t at = text.find(needle);
  return at == std::string_view::npos ? 0 : static_cast<long long>(at) + 1;
}

std::string_view Copy(std::string_view text, long long index, long long count) {
  const auto [start, length] = CopyRange<long long>(static_cast<long long>(text.size()), index, count);
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

qsizetype Pos(const QString& needle, const QString& text) {
  return needle.isEmpty() ? 0 : text.indexOf(needle) + 1;
}

QString Copy(const QString& text, qsizetype index, qsizetype count) {
  const auto [start, length] = CopyRange<qsizetype>(text.size(), index, count);
  return text.mid(start, length);
}

}  // namespace platform
