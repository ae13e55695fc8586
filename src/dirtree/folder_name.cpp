#include "dirtree/folder_name.h"

namespace dirtree {

bool IsValidFolderName(const QString& name) {
  static const QString kForbidden = QStringLiteral("\\*?/=\"<>|:,;+^");
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
  for (const QChar c : name)
    if (kForbidden.contains(c)) return false;
  return true;
}

}  // namespace dirtree
