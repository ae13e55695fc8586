#include "user_home.h"

#include <QDir>
#include <QFile>

namespace dirtree_tests {

ScopedUserHome::ScopedUserHome(const QString& home, const QString& workDir, const QString& dataHome)
    : oldHome_(qgetenv("HOME")),
      oldDataHome_(qgetenv("XDG_DATA_HOME")),
      hadDataHome_(qEnvironmentVariableIsSet("XDG_DATA_HOME")),
      oldWorkDir_(QDir::currentPath()) {
  QDir().mkpath(home);
  QDir().mkpath(workDir);
  qputenv("HOME", QFile::encodeName(home));
  if (dataHome.isEmpty()) qunsetenv("XDG_DATA_HOME");
  else qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
  QDir::setCurrent(workDir);
}

ScopedUserHome::~ScopedUserHome() {
  QDir::setCurrent(oldWorkDir_);
  qputenv("HOME", oldHome_);
  if (hadDataHome_) qputenv("XDG_DATA_HOME", oldDataHome_);
  else qunsetenv("XDG_DATA_HOME");
}

}  // namespace dirtree_tests
