// A private user for tests that trash folders: HOME and XDG_DATA_HOME point
// into a temp folder, and so does the working directory, all put back when
// it ends. Whatever a trash does wrong lands in the temp folder, never in the
// real home or the source tree.
#pragma once
#include <QByteArray>
#include <QString>

namespace dirtree_tests {

class ScopedUserHome {
 public:
  // HOME := `home`, the working directory := `workDir` (both made when
  // missing); XDG_DATA_HOME := `dataHome`, or unset when empty.
  ScopedUserHome(const QString& home, const QString& workDir, const QString& dataHome = {});
  ~ScopedUserHome();
  ScopedUserHome(const ScopedUserHome&) = delete;
  ScopedUserHome& operator=(const ScopedUserHome&) = delete;

 private:
  QByteArray oldHome_, oldDataHome_;
  bool hadDataHome_;
  QString oldWorkDir_;
};

}  // namespace dirtree_tests
