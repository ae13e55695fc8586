#include "game/key_list.h"

namespace game {

QStringList KeyListEntries() {
  QStringList keys{QStringLiteral(" ")};
  for (char c = 'A'; c <= 'Z'; ++c) keys.append(QString(QChar(c)));
  for (char c = '0'; c <= '9'; ++c) keys.append(QString(QChar(c)));
  for (int f = 1; f <= 12; ++f) keys.append(QStringLiteral("F%1").arg(f));
  return keys;
}

QStringList GenKeyBind(const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("GenKeyBind"));
  return KeyListEntries();
}

}  // namespace game
