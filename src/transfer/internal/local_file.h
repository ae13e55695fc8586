// A local file read or written as raw bytes through a large buffer, with
// every failure reported, including a failed flush when it is closed.
#pragma once
#include <QString>
#include <cstdint>
#include <cstdio>

class LocalFile {
 public:
  LocalFile() = default;
  ~LocalFile();
  LocalFile(const LocalFile&) = delete;
  LocalFile& operator=(const LocalFile&) = delete;

  // Takes over `fd`, open for writing (closed when this closes).
  bool Adopt(int fd);
  // Opens a regular file (through links) for reading. Anything else (a
  // folder, a pipe, a device) is refused without waiting for a writer.
  bool OpenRead(const QString& path);
  // Size of a file opened for reading; -1 when it can't be told.
  std::int64_t Size() const;
  // Bytes read (0 at the end), or -1 on a read error.
  std::int64_t Read(char* buffer, std::int64_t size);
  bool Write(const char* data, std::int64_t size);
  // False when buffered bytes could not be written.
  bool Close();
  // Moves up to `size` bytes from `source` to this file inside the system,
  // without passing them through a buffer of ours: the count moved (> 0),
  // or -1 when the system can't (then Read and Write carry on from where
  // it stopped). Only for files nothing was read from or written to
  // through the buffer yet.
  std::int64_t CopyFrom(LocalFile& source, std::int64_t size);

 private:
  std::FILE* file_ = nullptr;
};
