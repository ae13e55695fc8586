#include "platform/os/text_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include "platform/text/cp1252.h"
#include "platform/os/errors.h"

namespace platform {
namespace {
constexpr size_t kBlock = 1 << 20;
constexpr char kCtrlZ = 0x1A;
}  // namespace

TextLineReader::~TextLineReader() {
  if (file_) std::fclose(file_);
}

bool TextLineReader::Open(const QString& path) {
  if (file_) std::fclose(file_);
  file_ = std::fopen(QFile::encodeName(path).constData(), "rb");
  buffer_.assign(kBlock, 0);
  pos_ = len_ = 0;
  eof_ = ctrlZ_ = false;
  return file_ != nullptr;
}

bool TextLineReader::Fill() {
  if (eof_ || !file_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pos_, len_ - pos_);
    len_ -= pos_;
    pos_ = 0;
  }
  if (len_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  const size_t n = std::fread(buffer_.data() + len_, 1, buffer_.size() - len_, file_);
  if (n == 0) {
    if (std::ferror(file_)) throw IoError(QStringLiteral("Read error"));
    eof_ = true;
    return false;
  }
  // Ctrl-Z ends the file: nothing after it is ever seen.
  if (const void* z = std::memchr(buffer_.data() + len_, kCtrlZ, n)) {
    len_ = size_t(static_cast<const char*>(z) - buffer_.data());
    eof_ = ctrlZ_ = true;
    return true;
  }
  len_ += n;
  return true;
}

bool TextLineReader::AtEnd() {
  if (pos_ < len_) return false;
  return !Fill() || pos_ >= len_;
}

bool TextLineReader::Next(std::string& line) {
  if (AtEnd()) return false;
  size_t scanFrom = pos_;
  for (;;) {
    const char* start = buffer_.data() + scanFrom;
    const void* cr = std::memchr(start, '\r', len_ - scanFrom);
    if (cr) {
      const size_t at = size_t(static_cast<const char*>(cr) - buffer_.data());
      // The LF right after the CR belongs to the line end; it may lie in the next block.
      if (at + 1 >= len_ && !eof_) {
        const size_t offset = at - pos_;
        Fill();
        scanFrom = pos_ + offset;
        if (scanFrom + 1 >= len_) {
          line.assign(buffer_.data() + pos_, scanFrom - pos_);
          pos_ = scanFrom + 1;
          return true;
        }
        continue;
      }
      line.assign(buffer_.data() + pos_, at - pos_);
      pos_ = at + 1;
      if (pos_ < len_ && buffer_[pos_] == '\n') ++pos_;
      return true;
    }
    const size_t offset = len_ - pos_;
    if (!Fill()) {
      line.assign(buffer_.data() + pos_, len_ - pos_);
      pos_ = len_;
      return true;
    }
    scanFrom = pos_ + offset;
  }
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  if (const size_t z = bytes.find(kCtrlZ); z != std::string_view::npos) bytes = bytes.substr(0, z);
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t cr = bytes.find('\r', pos);
    if (cr == std::string_view::npos) {
      lines.emplace_back(bytes.substr(pos));
      break;
    }
    lines.emplace_back(bytes.substr(pos, cr - pos));
    pos = cr + 1;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return lines;
}

std::optional<std::string> ReadFileBytes(const QString& path, std::int64_t maxBytes) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return std::nullopt;
  // Only as much memory as the file holds, not as much as it may hold.
  std::string bytes;
  if (const qint64 size = f.size(); size > 0) bytes.reserve(size_t(std::min<qint64>(size, maxBytes)));
  char block[65536];
  while (std::int64_t(bytes.size()) < maxBytes) {
    const qint64 got = f.read(block, std::min<qint64>(qint64(sizeof block), maxBytes - qint64(bytes.size())));
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    bytes.append(block, size_t(got));
  }
  return bytes;
}

std::optional<QStringList> ReadTextFileLines(const QString& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  QStringList lines;
  for (const std::string& line : SplitTextLines(*bytes)) lines.append(FromCp1252(line));
  return lines;
}

std::optional<QStringList> ReadPlainTextLines(const QString& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  QStringList lines;
  std::string_view rest = *bytes;
  while (!rest.empty()) {
    const size_t stop = rest.find_first_of("\r\n");
    lines.append(FromCp1252(rest.substr(0, stop)));
    if (stop == std::string_view::npos) break;
    const size_t next = rest.compare(stop, 2, "\r\n") == 0 ? stop + 2 : stop + 1;
    rest.remove_prefix(next);
  }
  return lines;
}

}  // namespace platform
