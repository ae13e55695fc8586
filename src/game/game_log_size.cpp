#include "game/game_log_size.h"

#include <QFile>

#include "platform/os/errors.h"
#include "platform/os/file_ops.h"

namespace game {

bool GameLogTooLarge(std::int64_t bytes) { return bytes / (1024 * 1024) > 4; }

void Logsizecheck(const QString& gameLogPath, const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("Logsizecheck"));
  if (!platform::FileExists(gameLogPath)) return;
  qint64 size = 0;
  {
    QFile file(gameLogPath);
    if (!file.open(QIODevice::ReadWrite)) {
      throw platform::IoError(QStringLiteral("Cannot open file %1").arg(gameLogPath));
    }
    size = file.size();
  }
  if (GameLogTooLarge(size) && !QFile::remove(gameLogPath)) {
    throw platform::IoError(QStringLiteral("Cannot delete file %1").arg(gameLogPath));
  }
}

}  // namespace game
