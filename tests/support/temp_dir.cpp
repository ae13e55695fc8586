#include "temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
  if (!dir_.isValid()) throw std::runtime_error("no temporary directory");
}

QString TempDir::Write(const QString& relative, std::string_view bytes) const {
  const QString path = File(relative);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("write failed");
  f.write(bytes.data(), qint64(bytes.size()));
  return path;
}

QString TempDir::Append(const QString& relative, std::string_view bytes) const {
  const QString path = File(relative);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) throw std::runtime_error("append failed");
  f.write(bytes.data(), qint64(bytes.size()));
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
