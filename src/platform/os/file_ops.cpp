#include "platform/os/file_ops.h"

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

bool DeleteFileIfExists(const QString& path) {
  std::error_code ec;
  return fs::remove(fs::path(QFile::encodeName(path).toStdString()), ec) && !ec;
}

}  // namespace platform
