// A fresh temporary directory per test, removed afterwards, with helpers to
// place and read files as raw bytes.
#pragma once
#include <QString>
#include <QTemporaryDir>
#include <string>
#include <string_view>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  QString Path() const { return dir_.path(); }
  // Path of `relative` inside the directory.
  QString File(const QString& relative) const { return dir_.path() + "/" + relative; }
  // Writes raw bytes, creating parent directories.
  QString Write(const QString& relative, std::string_view bytes) const;
  // Appends raw bytes to the file as it is, creating it when missing.
  QString Append(const QString& relative, std::string_view bytes) const;
  // Raw bytes of a file; empty when missing.
  std::string Read(const QString& relative) const;
  bool Exists(const QString& relative) const;

 private:
  QTemporaryDir dir_;
};

}  // namespace testing_support
