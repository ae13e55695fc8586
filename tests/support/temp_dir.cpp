#include "temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
  if (!dir_.isValid()) throw std::runtime_error("no temporary directory");
}

namespace {

// Creates the parent folders and writes the bytes with the given open mode.
void Put(const QString& path, std::string_view bytes, QIODevice::OpenMode mode, const char* failure) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | mode)) throw std::runtime_error(failure);
  f.write(bytes.data(), qint64(bytes.size()));
}

}  // namespace

QString TempDir::Write(const QString& relative, std::string_view bytes) const {
  const QString path = File(relative);
  Put(path, bytes, QIODevice::Truncate, "write failed");
  return path;
}

QString TempDir::Append(const QString& relative, std::string_view bytes) const {
  const QString path = File(relative);
  Put(path, bytes, QIODevice::Append, "append failed");
  return path;
}

std::string TempDir::Read(const QString& relative) const {
  QFile f(File(relative));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  return std::string(data.constData(), size_t(data.size()));
}

bool TempDir::Exists(const QString& relative) const { return QFileInfo::exists(File(relative)); }

}  // namespace testing_support
