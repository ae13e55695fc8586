#include "dirtree/network_drives.h"

#include <QUrl>

#include "platform/os/gio_mount.h"

namespace dirtree {

bool GioNetworkDrives::Available() { return platform::GioAvailable(); }

FolderOpResult GioNetworkDrives::Mount(const QString& address) {
  const platform::GioOutcome outcome = platform::GioMount(address);
  return {outcome.ok, outcome.message};
}

FolderOpResult GioNetworkDrives::Unmount(const QString& root) {
  const platform::GioOutcome outcome = platform::GioUnmount(root);
  return {outcome.ok, outcome.message};
}

bool IsNetworkAddress(const QString& address) {
  const QUrl url(address.trimmed(), QUrl::StrictMode);
  static const QStringList kSchemes{QStringLiteral("smb"), QStringLiteral("sftp"), QStringLiteral("ftp"),
                                    QStringLiteral("dav"), QStringLiteral("davs")};
  return url.isValid() && kSchemes.contains(url.scheme().toLower()) && !url.host().isEmpty();
}

}  // namespace dirtree
