// Reading the FTP server's control answers: an answer's last line ("213
// 300000"), the byte count of a SIZE answer, and the size a server
// announces when it begins to send a file ("150 ... (300000 bytes)"). A
// client checks the bytes it receives against every size announced.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

struct FtpReply {
  int code = 0;
  std::string_view text;  // without the code and the line end
};

// `line` (line end optional) when it is the last line of an answer: three
// digits and a blank. Empty for the other lines of a longer answer.
std::optional<FtpReply> FinalReply(std::string_view line);

// The byte count of a SIZE answer's text; -1 when it is none (negative,
// too large, not a number).
std::int64_t ReplyByteCount(std::string_view text);

// The size `line` announces ("213 <n>" or "150 ... (<n> bytes)"): empty
// when it announces none; -1 when it names a size that is no byte count.
std::optional<std::int64_t> AnnouncedSize(std::string_view line);

}  // namespace platform
