// Replacing a file's whole content so that a crash or a full disk never
// leaves it half-written.
//  - The new content goes into a temporary file beside the target, created
//    exclusively under an unpredictable name ("<name>.tmp-XXXXXX", mode
//    0600), is synced and renamed over the target.
//  - A symbolic link is written through: the file it names gets the content,
//    the link stays a link.
//  - When the directory can't take a new file but the file itself is
//    writable, the file is rewritten in place (then a crash can cut it).
//  - An existing file keeps its permissions; a new one gets `newFileMode`.
//    A write-protected file (no write bit) is refused for every user,
//    as Windows refuses a read-only file.
#pragma once
#include <QString>
#include <string_view>

namespace platform {

// False on any failure; the old file is then untouched (in-place rewrites
// excepted, which fail only on a write error).
bool WriteFileAtomically(const QString& path, std::string_view bytes, int newFileMode = 0644);

// Removes temporary files a killed program left beside `path`
// ("<name>.tmp-<suffix>", regular files of this user only). Returns how many.
int RemoveStaleTempFiles(const QString& path);

}  // namespace platform
