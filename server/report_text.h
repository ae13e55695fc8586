// Rules for the text values of a presence report (name, server, map). The
// values are Windows-1252 bytes exactly as the client sent them; these rules
// make them safe to keep and to hand back in the line-based answer.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace clan {

// The answer to a refused password. A member of this name is never kept: as
// the first record of an answer it would read as a refusal to every client,
// which would then log its player out.
inline constexpr std::string_view kRefusedAnswer = "AUTH_FAILED!";

// True for a name (as CleanValue leaves it) that the roster must not keep.
inline bool IsReservedName(std::string_view cleanName) { return cleanName == kRefusedAnswer; }

// The longest value the roster keeps; longer values are cut.
inline constexpr std::size_t kMaxValueBytes = 256;

// Cuts `value` to kMaxValueBytes and turns every control byte (CR, LF,
// Ctrl-Z, ...) into a blank: a value must never split a record of the
// answer into extra lines or end the client's reading early.
std::string CleanValue(std::string_view value);

// The server as the roster shows it: every "<i>" and "</i>" mark removed, so
// the client's placeholders read "Sucht Server..." and "offline". Removal is
// repeated until no mark is left, so no marks are left over from text like
// "<<i>i>".
std::string OnlineText(std::string_view server);

// True when the reported server says the member has logged out.
bool IsOfflineReport(std::string_view server);

}  // namespace clan
