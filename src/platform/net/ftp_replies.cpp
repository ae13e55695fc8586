#include "platform/net/ftp_replies.h"

namespace platform {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<FtpReply> FinalReply(std::string_view line) {
  line = Trimmed(line);
  if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return std::nullopt;
  if (line.size() > 3 && line[3] != ' ') return std::nullopt;  // "213-": more lines follow
  FtpReply reply;
  reply.code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
  reply.text = Trimmed(line.substr(3));
  return reply;
}

std::int64_t ReplyByteCount(std::string_view text) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 18) return -1;
  std::int64_t value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::int64_t> AnnouncedSize(std::string_view line) {
  const std::optional<FtpReply> reply = FinalReply(line);
  if (!reply) return std::nullopt;
  if (reply->code == 213) return ReplyByteCount(reply->text);
  if (reply->code != 150 && reply->code != 125) return std::nullopt;
  constexpr std::string_view kBytes = " bytes)";
  const std::string_view text = reply->text;
  if (text.size() < kBytes.size() || text.substr(text.size() - kBytes.size()) != kBytes) return std::nullopt;
  const std::size_t open = text.rfind('(');
  if (open == std::string_view::npos) return std::nullopt;
  return ReplyByteCount(text.substr(open + 1, text.size() - kBytes.size() - open - 1));
}

}  // namespace platform
