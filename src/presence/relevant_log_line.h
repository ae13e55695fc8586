// Finds the lines of a game log that tell where the player went.
//
// Every game writes "Log: LoadMap: " when it has loaded a map and
// "Exit: Exiting" when it shuts down. A line counts only when it begins, at
// its first character and in exactly this case, with one of the prefixes.
//
// Lines: a line ends at CR LF, at CR, or at a lone LF (the Windows builds
// write CR LF, the native Linux builds LF); the first Ctrl-Z ends the file.
// A log that begins with a UTF-8 byte order mark is UTF-8 text and the mark
// is no part of its first line; any other log is Windows-1252. The games
// buffer their log, so a last line without a line end is still being
// written: it counts once its line end arrives. Two exceptions: an
// "Exit: Exiting" line says all it has to say with its prefix, and a Ctrl-Z
// ends the file and with it the last line.
//
// Unreal Engine 2 games (UT 2003, UT 2004; LogFormat::BrowseAndLevel) write
// no LoadMap line for a server. Their client writes
//   Log: Browse: <url>            when it sets off for a server or a local map
//   Log: NetMode now NM_Client    when it has joined a server as a client
//   Log: Bringing Level <Map>.myLevel up for play ...   once a map is up
// and when the server changes map:
//   Log: Browse: 203.0.113.7/DM-Next?Name=Kim?...
//   Log: Browse: Index.ut2?closed?Name=Kim?...    (the old map's connection closes)
//   Log: Failed; returning to Entry
//   Log: NetMode now NM_Client
//   Log: Bringing Level DM-Next.myLevel up for play (90) ...
// The rule: the last Browse line counts like a LoadMap line, except a Browse
// to no host (presence/browse_url.h) with a "closed" option, which only closes
// the connection of the moment. Of the lines after the last counting line,
// the last Bringing Level line gives the map the player is on (levelUp),
// unless a closing came after it, or it came up after a closing with no
// "NetMode now NM_Client" between the two (the menu, after the server was
// lost). presence/browse_location.h reads the player's whereabouts from that.
//
// Logs grow to hundreds of megabytes and only their last relevant lines
// count, so each stretch is searched backwards from its end for its last
// counting line; the result is the one the forward reading gives. A
// LogReading keeps what it found, so a log that has only grown is read on
// from where the reading stopped.
#pragma once
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
inline constexpr std::string_view kClientNetModeLine = "Log: NetMode now NM_Client";

// What decides the player's whereabouts.
struct LogFinding {
  std::optional<std::string> last;     // the last counting line: raw bytes, no line end
  std::optional<std::string> levelUp;  // only with BrowseAndLevel, see above
  bool utf8 = false;                   // the log began with a UTF-8 byte order mark
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
  // What the lines read so far give.
  LogFinding Result() const;
  LogFormat Format() const { return format_; }
  // Starts a fresh reading at `lineStart`, the start of a line of a log
  // whose first bytes tell `utf8` (it began with a byte order mark): what
  // is read from there gives what the whole log gives once a counting line
  // has been read.
  void StartAt(long long lineStart, bool utf8);
  // A finished counting line has been read.
  bool FoundCountingLine() const { return finished_.last.has_value(); }
  // A Ctrl-Z ended the log: nothing after it is read.
  bool Ended() const { return ended_; }
  // Passes over the `bytes` at ResumeAt(), the start of a line without a
  // line end so far that is too long to be any line a game writes, and the
  // rest of that line in later reads: a reader need not hold it.
  void PassOverLine(long long bytes);

 private:
  // Takes `text`: whole lines from a line start, each with its line end
  // (the last one may lack it only when a Ctrl-Z ended the file).
  void Take(std::string_view text);
  // Follows the Engine 2 lines after the last counting line.
  void Follow(std::string_view line);

  LogFormat format_;
  long long resumeAt_ = 0;
  bool ended_ = false;  // a Ctrl-Z ended the text
  bool passingOver_ = false;  // ResumeAt() lies inside a line passed over
  bool utf8_ = false;
  LogFinding finished_;  // of the lines before ResumeAt()
  bool closed_ = false;  // a closing since the last counting line
  bool client_ = false;  // "NetMode now NM_Client" since that closing
  std::optional<std::string> unfinishedExit_;  // an Exit line still without its line end
};

// The last LoadMap or Exit line of `bytes`, a log as far as it is written.
std::optional<std::string> LastRelevantLine(std::string_view bytes);

}  // namespace presence
