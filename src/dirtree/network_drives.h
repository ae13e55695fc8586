// Connecting and disconnecting network drives for the tree's menu. The
// real one mounts through gio (platform/os/gio_mount); tests use a fake.
// Mount and Unmount block and are called on a worker thread.
#pragma once
#include <QString>

#include "dirtree/folder_ops.h"

namespace dirtree {

class NetworkDrives {
 public:
  virtual ~NetworkDrives() = default;
  // Whether the system can mount network folders at all.
  virtual bool Available() = 0;
  virtual FolderOpResult Mount(const QString& address) = 0;
  // `root` is the drive's directory.
  virtual FolderOpResult Unmount(const QString& root) = 0;
};

class GioNetworkDrives : public NetworkDrives {
 public:
  bool Available() override;
  FolderOpResult Mount(const QString& address) override;
  FolderOpResult Unmount(const QString& root) override;
};

// Whether `address` is a network folder address the tree can mount:
// smb://, sftp://, ftp://, dav:// or davs:// with a host.
bool IsNetworkAddress(const QString& address);

}  // namespace dirtree
