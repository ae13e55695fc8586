// Mounting and unmounting network folders (smb://, sftp://, ftp://, dav://)
// through GLib's `gio mount`: a mounted folder is then a directory below
// $XDG_RUNTIME_DIR/gvfs. The calls block until gio is done or the time limit
// has passed and run no event loop, so they belong on a worker thread.
// gio's questions (a password) are answered with nothing: a folder that
// needs one fails with gio's message.
#pragma once
#include <QString>

#include "platform/os/gio_tool.h"

namespace platform {

// Whether the `gio` program is there.
bool GioAvailable(const QString& gio = QStringLiteral("gio"));

// `gio mount <address>`; anonymous when the address names no user.
GioOutcome GioMount(const QString& address, int timeoutMs = 60000,
                    const QString& gio = QStringLiteral("gio"));

// `gio mount -u <location>`: `location` is the mounted directory or its address.
GioOutcome GioUnmount(const QString& location, int timeoutMs = 30000,
                      const QString& gio = QStringLiteral("gio"));

}  // namespace platform
