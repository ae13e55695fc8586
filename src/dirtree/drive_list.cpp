#include "dirtree/drive_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QUrl>
#include <algorithm>

namespace dirtree {
namespace {

QString WithSlash(const QString& path) { return path.endsWith('/') ? path : path + '/'; }

// Mount points that belong to the system rather than to the user's files.
bool IsSystemPlace(const QString& root) {
  static const char* const kPlaces[] = {"/proc", "/sys", "/dev", "/boot", "/snap", "/var/lib",
                                        "/var/snap", "/efi"};
  for (const char* place : kPlaces) {
    const QString p = QString::fromLatin1(place);
    if (root == p || root.startsWith(p + '/')) return true;
  }
  return (root == QLatin1String("/run") || root.startsWith(QLatin1String("/run/"))) &&
         !root.startsWith(QLatin1String("/run/media/"));
}

QString ReadSysValue(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(f.readAll()).trimmed();
}

// Whether the block device `device` (/dev/sdb1) is removable, asking the
// partition and the disk it belongs to.
bool IsRemovableDevice(const QString& device) {
  const QString name = QFileInfo(device).fileName();
  if (name.isEmpty()) return false;
  const QString sys = QStringLiteral("/sys/class/block/") + name;
  if (ReadSysValue(sys + QStringLiteral("/removable")) == QLatin1String("1")) return true;
  const QString disk = QFileInfo(sys).canonicalFilePath();
  return !disk.isEmpty() &&
         ReadSysValue(QFileInfo(disk).absolutePath() + QStringLiteral("/removable")) ==
             QLatin1String("1");
}

// Optical drives without a mounted medium: listed, but not ready.
std::vector<Drive> EmptyOpticalDrives(const QSet<QString>& mountedDevices) {
  std::vector<Drive> drives;
  const QStringList names =
      QDir(QStringLiteral("/sys/block")).entryList({QStringLiteral("sr*")}, QDir::AllEntries | QDir::System);
  for (const QString& name : names) {
    const QString device = QStringLiteral("/dev/") + name;
    if (mountedDevices.contains(device)) continue;
    drives.push_back({name, QStringLiteral("CD/DVD Drive"), device + '/', false, true});
  }
  return drives;
}

}  // namespace

bool IsPseudoFileSystem(const QByteArray& type) {
  static const char* const kPseudo[] = {
      "proc",      "sysfs",      "tmpfs",      "devtmpfs", "devpts",  "overlay",     "squashfs",
      "cgroup",    "cgroup2",    "mqueue",     "debugfs",  "tracefs", "securityfs",  "pstore",
      "bpf",       "autofs",     "hugetlbfs",  "configfs", "fusectl", "binfmt_misc", "efivarfs",
      "ramfs",     "nsfs",       "rpc_pipefs", "nfsd",     "selinuxfs", "fuse.gvfsd-fuse",
      "fuse.portal", "fuse.lxcfs", "fuse.snapfuse", "none"};
  for (const char* p : kPseudo)
    if (type == p) return true;
  return false;
}

bool IsNetworkFileSystem(const QByteArray& type) {
  static const char* const kNetwork[] = {"cifs",       "smb3",       "smbfs",       "nfs",
                                         "nfs4",       "fuse.sshfs", "sshfs",       "davfs",
                                         "fuse.davfs", "afs",        "ceph",        "glusterfs",
                                         "fuse.rclone", "9p",        "fuse.curlftpfs"};
  for (const char* n : kNetwork)
    if (type == n) return true;
  return false;
}

std::vector<Drive> WineDrives(const QString& prefix) {
  std::vector<Drive> drives;
  const QDir dosdevices(prefix + QStringLiteral("/dosdevices"));
  for (const QFileInfo& link : dosdevices.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
    const QString name = link.fileName();
    if (name.size() != 2 || name[1] != ':' || !name[0].isLetter() || name[0].unicode() > 'z') continue;
    QString root = link.canonicalFilePath();
    if (root.isEmpty()) root = link.isSymLink() ? link.symLinkTarget() : link.absoluteFilePath();
    drives.push_back({name.toUpper(), QStringLiteral("Wine drive"), WithSlash(root), false, true});
  }
  std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.id < b.id; });
  return drives;
}

QString GvfsDisplayName(const QString& mountName) {
  const qsizetype colon = mountName.indexOf(':');
  if (colon < 0) return mountName;
  QString share, server, host, user;
  for (const QString& pair : mountName.mid(colon + 1).split(',')) {
    const QString key = pair.section('=', 0, 0);
    const QString value = QUrl::fromPercentEncoding(pair.section('=', 1).toUtf8());
    if (key == QLatin1String("share")) share = value;
    else if (key == QLatin1String("server")) server = value;
    else if (key == QLatin1String("host")) host = value;
    else if (key == QLatin1String("user")) user = value;
  }
  if (host.isEmpty()) host = server;
  if (!share.isEmpty() && !host.isEmpty()) return share + QStringLiteral(" on ") + host;
  if (!host.isEmpty()) return user.isEmpty() ? host : user + '@' + host;
  return mountName;
}

std::vector<Drive> GvfsDrives(const QString& gvfsDir) {
  std::vector<Drive> drives;
  for (const QFileInfo& entry : QDir(gvfsDir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    const QString scheme = entry.fileName().section(':', 0, 0).section('-', 0, 0);
    drives.push_back({scheme, GvfsDisplayName(entry.fileName()), WithSlash(entry.absoluteFilePath()), true, false});
  }
  return drives;
}

bool DriveList::IsReady(const Drive& drive) {
  const QFileInfo root(drive.root);
  if (!root.isDir() || !root.isReadable()) return false;
  const QStorageInfo storage(drive.root);
  return storage.isValid() && storage.isReady();
}

std::vector<Drive> SystemDriveList::Drives() {
  std::vector<Drive> drives;
  drives.push_back({QStringLiteral("/"), QStringLiteral("File System"), QStringLiteral("/"), false, false});
  QSet<QString> seen{QStringLiteral("/")};
  const QString home = WithSlash(QDir::homePath());
  if (!seen.contains(home) && QFileInfo(home).isDir()) {
    drives.push_back({QStringLiteral("~"), QStringLiteral("Home"), home, false, false});
    seen.insert(home);
  }

  std::vector<Drive> mounts;
  QSet<QString> mountedDevices;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    mountedDevices.insert(QString::fromLocal8Bit(volume.device()));
    const QByteArray type = volume.fileSystemType();
    const QString root = WithSlash(volume.rootPath());
    if (!volume.isValid() || IsPseudoFileSystem(type) || IsSystemPlace(volume.rootPath()) ||
        seen.contains(root) || !QFileInfo(root).isDir())
      continue;
    seen.insert(root);
    const QString device = QString::fromLocal8Bit(volume.device());
    QString id = QFileInfo(device).fileName();
    if (id.isEmpty()) id = QString::fromLatin1(type);
    QString name = volume.name();
    if (name.isEmpty()) name = QFileInfo(volume.rootPath()).fileName();
    const bool optical = type == "iso9660" || type == "udf";
    mounts.push_back({id, name, root, IsNetworkFileSystem(type), optical || IsRemovableDevice(device)});
  }
  std::sort(mounts.begin(), mounts.end(), [](const Drive& a, const Drive& b) { return a.root < b.root; });
  drives.insert(drives.end(), mounts.begin(), mounts.end());

  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) {
    const std::vector<Drive> network = GvfsDrives(runtime + QStringLiteral("/gvfs"));
    drives.insert(drives.end(), network.begin(), network.end());
  }
  const std::vector<Drive> optical = EmptyOpticalDrives(mountedDevices);
  drives.insert(drives.end(), optical.begin(), optical.end());

  QString prefix = qEnvironmentVariable("WINEPREFIX");
  if (prefix.isEmpty()) prefix = QDir::homePath() + QStringLiteral("/.wine");
  const std::vector<Drive> wine = WineDrives(prefix);
  drives.insert(drives.end(), wine.begin(), wine.end());
  return drives;
}

QString DriveEntryText(const Drive& drive) {
  const qsizetype bracket = drive.name.indexOf('(');
  const QString name = bracket >= 0 ? drive.name.left(bracket) : drive.name + ' ';
  return QStringLiteral(" (") + drive.id + QStringLiteral(")  ") + name;
}

}  // namespace dirtree
