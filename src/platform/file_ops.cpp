#include "platform/file_ops.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

bool FileExists(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && info.isFile();
}

bool CopyFileOverwrite(const QString& from, const QString& to) {
  const fs::path source(QFile::encodeName(from).toStdString());
  const fs::path target(QFile::encodeName(to).toStdString());
  fs::path temp = target;
  temp += ".part";
  std::error_code ec;
  if (!fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temp, ec);
    return false;
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

std::optional<std::int64_t> FileSize(const QString& path) {
  std::error_code ec;
  const auto size = fs::file_size(fs::path(QFile::encodeName(path).toStdString()), ec);
  if (ec) return std::nullopt;
  return std::int64_t(size);
}

bool DeleteFileIfExists(const QString& path) {
  std::error_code ec;
  return fs::remove(fs::path(QFile::encodeName(path).toStdString()), ec) && !ec;
}

}  // namespace platform
