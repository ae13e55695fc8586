// Counts how often files in a directory are written: each completed write
// (a file closed after writing, or renamed into place) of the named file.
// Linux inotify; events are read when Count() is called.
#pragma once
#include <QString>

namespace testing_support {

class FileReplaceCounter {
 public:
  explicit FileReplaceCounter(const QString& filePath);
  ~FileReplaceCounter();
  FileReplaceCounter(const FileReplaceCounter&) = delete;
  FileReplaceCounter& operator=(const FileReplaceCounter&) = delete;

  // Writes of the file since construction.
  int Count();

 private:
  int fd_ = -1;
  QString name_;
  int count_ = 0;
};

}  // namespace testing_support
