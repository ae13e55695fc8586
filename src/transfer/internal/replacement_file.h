// The new content of a download or copy target, written into a temporary
// file beside it and moved into place only once complete: until then, and
// after any failure, the file that was there stays as it was.
//  - The temporary file ".<name>.part-<random>" is created exclusively and
//    never through a link; it is removed again unless it took the target's
//    place (also when this object goes without Replace). Of a long name only
//    as much goes into it as leaves it a valid name (255 bytes at most), so
//    a target of any valid name can be replaced.
//  - A target that is a symbolic link is written through: the file it names
//    gets the content, the link stays a link.
//  - An existing target keeps its permissions; a new one gets the usual
//    mode of a created file. A target that is not a regular file (a folder,
//    a pipe, a device) can't be replaced.
#pragma once
#include <QByteArray>
#include <QString>

#include "transfer/internal/local_file.h"

class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file for `target`; false when it can't be.
  bool Create(const QString& target);
  // Where the content goes until Replace.
  LocalFile& File() { return file_; }
  // Writes out what is buffered; false on a write error (a full disk).
  bool Finish();
  // Moves the finished file into the target's place.
  bool Replace();

 private:
  void Discard();

  LocalFile file_;
  QByteArray target_;
  QByteArray temporary_;
};
