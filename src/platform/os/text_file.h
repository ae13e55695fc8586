// The program's text-file reading rule: 8-bit Windows-1252 text; a line ends
// at CR; an LF right after the CR belongs to the line end; a lone LF is an
// ordinary character; a Ctrl-Z byte (0x1A) ends the file; a last line without
// CR is still a line. An empty file has no lines.
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Streams the lines of a file in the rule above, reading in large blocks, so
// that a file of hundreds of megabytes is never held in memory at once.
class TextLineReader {
 public:
  TextLineReader() = default;
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // False when the file can't be opened.
  bool Open(const QString& path);
  // Raw bytes of the next line, without its line end; false at the end of
  // the file. Throws platform::IoError on a read error.
  bool Next(std::string& line);
  bool AtEnd();

 private:
  bool Fill();
  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  size_t len_ = 0;
  bool eof_ = false;
  bool ctrlZ_ = false;
};

// Splits bytes into lines by the rule above (raw bytes, not decoded).
std::vector<std::string> SplitTextLines(std::string_view bytes);

// All lines of a file, decoded from Windows-1252; nullopt when it can't be opened.
std::optional<QStringList> ReadTextFileLines(const QString& path);

// All lines of a plain Windows-1252 text file, as a text box loads it: a line
// ends at CR LF, CR or LF, and every byte is text (no Ctrl-Z end). nullopt
// when the file can't be opened.
std::optional<QStringList> ReadPlainTextLines(const QString& path);

// Whole-file helpers on raw bytes.
// At most `maxBytes` bytes from the start of the file.
std::optional<std::string> ReadFileBytes(const QString& path, std::int64_t maxBytes = INT64_MAX);

}  // namespace platform
