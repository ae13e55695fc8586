// Small file-system helpers with the program's error conventions: the
// boolean results are for callers that swallow problems on purpose.
#pragma once
#include <QString>

namespace platform {

bool FileExists(const QString& path);
bool DeleteFileIfExists(const QString& path);

}  // namespace platform
