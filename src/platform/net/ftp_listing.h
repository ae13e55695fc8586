// Reading a machine-readable FTP directory listing (MLSD: one entry a line,
// "fact=value;fact=value; name") in pieces as it arrives. The search keeps
// only the line being read and the entry it looks for, so a listing of any
// length costs the memory of its longest line (bounded: a longer line is
// skipped as unusable).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct FtpListEntry {
  std::string name;
  // The size fact; empty when the line has none, -1 when it is no byte count.
  std::optional<std::int64_t> size;
  // The modify fact, seconds since 1970-01-01 UTC; empty when absent or
  // not a date.
  std::optional<std::int64_t> modified;
  // False for folders: the listed one, its parent and those in it.
  bool isFile = true;
};

// One line without its line end; empty when it has no facts and name.
std::optional<FtpListEntry> ParseMlsdLine(std::string_view line);

// "YYYYMMDDHHMMSS" (fractions after it ignored) as seconds since 1970 UTC.
std::optional<std::int64_t> ParseFtpTime(std::string_view text);

class FtpListingSearch {
 public:
  // Lines longer than this are skipped.
  static constexpr std::size_t kMaxLine = 64 * 1024;

  explicit FtpListingSearch(std::string name) : name_(std::move(name)) {}
  // The next piece of the listing; lines may be split anywhere.
  void Feed(std::string_view bytes);
  // Ends the listing (a last line without a line end counts) and gives the
  // first file entry of the name, if any.
  std::optional<FtpListEntry> Finish();

 private:
  void Line(std::string_view line);

  std::string name_;
  std::string line_;
  bool overlong_ = false;
  std::optional<FtpListEntry> found_;
};

}  // namespace platform
