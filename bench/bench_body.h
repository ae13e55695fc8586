// The body every transfer benchmark moves: a byte pattern that repeats every
// MiB (cheap to make; a lost, doubled or shifted block still shows), with
// the helpers to write it, check it and time things.
#pragma once
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <cstdint>
#include <string>

namespace bench {

constexpr std::size_t kChunk = 1 << 20;

inline char BodyByte(std::int64_t offset) {
  const std::uint64_t i = static_cast<std::uint64_t>(offset) % kChunk;
  return static_cast<char>((i * 2654435761u) >> 13);
}

inline std::string BodyChunk() {
  std::string chunk(kChunk, '\0');
  for (std::size_t i = 0; i < kChunk; ++i) chunk[i] = BodyByte(static_cast<std::int64_t>(i));
  return chunk;
}

// Writes `size` bytes of the body to `path`.
inline bool WriteBody(const QString& path, std::int64_t size) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const std::string chunk = BodyChunk();
  for (std::int64_t done = 0; done < size;) {
    const std::int64_t n = std::min<std::int64_t>(static_cast<std::int64_t>(kChunk), size - done);
    if (file.write(chunk.data(), n) != n) return false;
    done += n;
  }
  return file.flush();
}

inline bool FileHasBody(const QString& path, std::int64_t size) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() != size) return false;
  std::int64_t offset = 0;
  while (!file.atEnd()) {
    const QByteArray block = file.read(kChunk);
    for (qsizetype i = 0; i < block.size(); ++i) {
      if (block[i] != BodyByte(offset + i)) return false;
    }
    offset += block.size();
  }
  return offset == size;
}

inline double Seconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e9; }

}  // namespace bench
