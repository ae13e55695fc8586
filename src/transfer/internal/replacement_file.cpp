#include "transfer/internal/replacement_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a write to `path` must change: the end of a chain of links.
QString ResolveLinks(const QString& path) {
  QString target = path;
  for (int hops = 0; hops < 40 && QFileInfo(target).isSymLink(); ++hops) target = QFileInfo(target).symLinkTarget();
  return target;
}

constexpr qsizetype kSuffixBytes = 16;

QByteArray RandomSuffix() {
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray suffix(kSuffixBytes, '0');
  for (char& c : suffix) c = kDigits[QRandomGenerator::system()->bounded(36)];
  return suffix;
}

// The longest name a folder entry may have.
constexpr qsizetype kLongestName = 255;

// The name of a temporary file beside the target `name`, without its random
// suffix of `suffixBytes`: ".<name>.part-", the name cut short when the whole
// would be longer than a folder entry may be. It is cut between characters.
QByteArray TemporaryStem(const QByteArray& name, qsizetype suffixBytes) {
  static constexpr char kPart[] = ".part-";
  const qsizetype room = kLongestName - 1 - qsizetype(sizeof kPart - 1) - suffixBytes;
  qsizetype keep = std::min(name.size(), room);
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  return "." + name.left(keep) + kPart;
}

}  // namespace

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::Create(const QString& target) {
  const QFileInfo resolved(ResolveLinks(target));
  target_ = QFile::encodeName(resolved.filePath());
  mode_t mode = 0666;  // less the umask, as for any new file
  bool keepMode = false;
  struct stat st {};
  if (::stat(target_.constData(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    mode = st.st_mode & 07777;
    keepMode = true;
  }
  const QByteArray dir = QFile::encodeName(resolved.path());
  const QByteArray stem = dir + "/" + TemporaryStem(QFile::encodeName(resolved.fileName()), kSuffixBytes);
  for (int attempt = 0; attempt < 8; ++attempt) {
    const QByteArray name = stem + RandomSuffix();
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    temporary_ = name;
    if ((keepMode && ::fchmod(fd, mode) != 0) || !file_.Adopt(fd)) {
      Discard();
      return false;
    }
    return true;
  }
  return false;
}

bool ReplacementFile::Finish() {
  if (file_.Close()) return true;
  Discard();
  return false;
}

bool ReplacementFile::Replace() {
  if (temporary_.isEmpty() || ::rename(temporary_.constData(), target_.constData()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacementFile::Discard() {
  file_.Close();
  if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
  temporary_.clear();
}
