// Finds the last line of a game log that tells where the player went: a line
// beginning, at its first character and in exactly this case, with
// "Log: LoadMap: " or "Exit: Exiting". Lines follow the program's text rule
// (platform/text_file.h): a line ends at CR, an LF right after the CR belongs
// to the line end, a lone LF is part of the line, the first Ctrl-Z ends the
// file.
//
// Logs grow to hundreds of megabytes and only their last relevant line
// counts, so the search runs backwards from the end of the text (after one
// quick pass for the first Ctrl-Z) instead of reading every line; the result
// is the one the forward reading gives.
#pragma once
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace presence {

// The last relevant line of `bytes` (raw, without its line end).
std::optional<std::string_view> LastRelevantLine(std::string_view bytes);

// The same for a file; nullopt also when the file can't be opened, which
// reads as an empty file.
std::optional<std::string> LastRelevantLineInFile(const QString& path);

}  // namespace presence
