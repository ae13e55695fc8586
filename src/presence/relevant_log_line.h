// Finds the lines of a game log that tell where the player went.
//
// Every game writes "Log: LoadMap: " when it has loaded a map and
// "Exit: Exiting" when it shuts down. Unreal Engine 2 games (UT 2003,
// UT 2004) write no LoadMap line for a server: their client logs
// "Log: Browse: <url>" when it sets off for a server or a local map and
// "Log: Bringing Level <Map>.myLevel up for play ..." once the map is up.
// A line counts only when it begins, at its first character and in exactly
// this case, with one of these prefixes.
//
// Lines follow the program's text rule (platform/text_file.h): a line ends
// at CR, an LF right after the CR belongs to the line end, a lone LF is part
// of the line, the first Ctrl-Z ends the file.
//
// Logs grow to hundreds of megabytes and only their last relevant lines
// count, so each stretch is searched backwards from its end instead of line
// by line; the result is the one the forward reading gives. A LogReading
// keeps what it found, so a log that has only grown is read on from where
// the reading stopped.
#pragma once
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace presence {

enum class LogFormat {
  LoadMap,         // LoadMap and Exit lines only
  BrowseAndLevel,  // also Browse and Bringing Level lines (Unreal Engine 2)
};

inline constexpr std::string_view kLoadMapPrefix = "Log: LoadMap: ";
inline constexpr std::string_view kExitPrefix = "Exit: Exiting";
inline constexpr std::string_view kBrowsePrefix = "Log: Browse: ";
inline constexpr std::string_view kLevelUpPrefix = "Log: Bringing Level ";

// What decides the player's whereabouts: the last LoadMap, Exit or (with
// BrowseAndLevel) Browse line, and the last Bringing Level line after it.
struct LogFinding {
  std::optional<std::string> last;     // raw bytes, without the line end
  std::optional<std::string> levelUp;  // only with BrowseAndLevel
  bool operator==(const LogFinding&) const = default;
};

class LogReading {
 public:
  explicit LogReading(LogFormat format) : format_(format) {}

  // Reads `more`, the text from ResumeAt() on; the first call starts at 0.
  void Read(std::string_view more);
  // Offset of the first byte the next Read must get: the start of the last
  // line, which may not be finished yet.
  long long ResumeAt() const { return resumeAt_; }
  // Everything read so far, the unfinished last line included.
  LogFinding Result() const;
  LogFormat Format() const { return format_; }

 private:
  LogFormat format_;
  long long resumeAt_ = 0;
  bool ended_ = false;  // a Ctrl-Z ended the text
  LogFinding finished_;  // of the lines before ResumeAt()
  LogFinding unfinished_;  // of the line from ResumeAt() on, as far as read
};

// The last LoadMap or Exit line of `bytes`.
std::optional<std::string> LastRelevantLine(std::string_view bytes);

// Reads `path` from reading.ResumeAt() to its end into `reading`. A file
// that can't be opened, or is shorter than that, adds nothing.
void ReadOnFromFile(const QString& path, LogReading& reading);

// The last LoadMap or Exit line of a file; nullopt also when the file can't
// be opened.
std::optional<std::string> LastRelevantLineInFile(const QString& path);

}  // namespace presence
