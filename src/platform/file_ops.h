// Small file-system helpers with the program's error conventions: the
// boolean results are for callers that swallow problems on purpose.
#pragma once
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

bool FileExists(const QString& path);
// Copies with overwrite; writes beside the target and renames, so the target
// is either the old or the complete new file.
bool CopyFileOverwrite(const QString& from, const QString& to);
std::optional<std::int64_t> FileSize(const QString& path);
bool DeleteFileIfExists(const QString& path);

}  // namespace platform
