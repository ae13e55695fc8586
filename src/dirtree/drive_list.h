// The drives of the tree's first level: the places a user installs games on.
// On this system they are the root file system, the home directory, every
// mounted real file system, the network folders mounted through the desktop
// (gvfs), optical drives, and the drive letters of the user's Wine prefix.
// DriveList is an interface so that tests decide what counts as a drive.
#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

namespace dirtree {

struct Drive {
  QString id;    // the short id shown in brackets: "/", "~", "sdb1", "C:"
  QString name;  // the display name
  QString root;  // native path of its top folder, ending with "/"
  bool network = false;    // folders on it always get an expand button
  bool removable = false;  // tested for a medium when selected
};

class DriveList {
 public:
  virtual ~DriveList() = default;
  // The drives in the order the tree shows them.
  virtual std::vector<Drive> Drives() = 0;
  // Whether a removable drive can be read now. The default asks whether its
  // root is a readable, mounted directory.
  virtual bool IsReady(const Drive& drive);
};

class SystemDriveList : public DriveList {
 public:
  std::vector<Drive> Drives() override;
};

// Pieces of the system list, separate for testing.
// Kernel and container file systems that hold no user files.
bool IsPseudoFileSystem(const QByteArray& type);
bool IsNetworkFileSystem(const QByteArray& type);
// The lettered drives of a Wine prefix (its dosdevices links), A to Z; a
// letter whose target is missing stays in the list as a removable drive.
std::vector<Drive> WineDrives(const QString& prefix);
// The network folders the desktop mounted below `gvfsDir`
// ($XDG_RUNTIME_DIR/gvfs), named after their share and server.
std::vector<Drive> GvfsDrives(const QString& gvfsDir);
// "smb-share:server=host,share=games" -> "games on host".
QString GvfsDisplayName(const QString& mountName);

}  // namespace dirtree

namespace dirtree {

// The text of a drive entry: a blank, "(" + id + ")", two blanks, the
// display name up to its first "(" (all of it when it has none), a blank.
QString DriveEntryText(const Drive& drive);

}  // namespace dirtree
