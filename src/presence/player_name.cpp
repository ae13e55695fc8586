#include "presence/player_name.h"

#include "platform/os/file_ops.h"
#include "platform/os/ini_file.h"

namespace presence {
namespace {
const QString kSection = QStringLiteral("DefaultPlayer");
const QString kKey = QStringLiteral("Name");
}  // namespace

QString ReadPlayerName(const QString& userIniPath) {
  return platform::IniReadString(userIniPath, kSection, kKey, QStringLiteral("?"));
}

std::optional<QString> PlayerNameCaption(const QString& userIniPath) {
  if (!platform::FileExists(userIniPath)) return std::nullopt;
  return QStringLiteral("Username: ") + platform::IniReadString(userIniPath, kSection, kKey, QString());
}

}  // namespace presence
