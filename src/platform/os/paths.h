// Where the program lives, where its own files go, and how game files are
// found.
#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Where a program keeps its own files: the settings file, and the temporary
// files it rewrites while it runs.
struct ProgramFilePlaces {
  QString settingsDir;
  QString tempDir;
};

// The one rule for those places. A program that keeps its files beside
// itself (a build directory, an unpacked copy it may write to) keeps
// everything there. Otherwise (installed) the settings go to
// $XDG_CONFIG_HOME/<folder> and the temporary files to
// $XDG_CACHE_HOME/<folder>; a variable that is unset, empty or not an
// absolute path stands for ~/.config or ~/.cache.
ProgramFilePlaces ChooseProgramFilePlaces(const QString& programDir, bool besideProgram,
                                          const QString& xdgConfigHome, const QString& xdgCacheHome,
                                          const QString& home, const QString& folder);

// True for a program installed with its menu entry (a package, `cmake
// --install`): the program lies in <prefix>/bin and the entry
// `desktopFile` in <prefix>/share/applications. Such a program never keeps
// files beside itself, whoever runs it, even root, who could write there.
bool InstalledWithMenuEntry(const QString& programDir, const QString& desktopFile);

// Given to the main window, so tests can place everything in a temp dir.
struct AppPaths {
  QString programDir;   // directory of the running executable, no trailing separator
  QString workingDir;   // the process's working directory
  QStringList arguments;  // command-line arguments after the program name
  // Set only when the program directory can't take the program's own files;
  // empty means the program directory.
  QString userSettingsDir = {};
  QString userTempDir = {};
  // The user's home directory ($HOME) and Wine prefix ($WINEPREFIX, "" when
  // unset), where the games keep per-user files and Windows installs.
  QString homeDir = {};
  QString winePrefix = {};

  QString SettingsDir() const { return userSettingsDir.isEmpty() ? programDir : userSettingsDir; }
  QString TempDir() const { return userTempDir.isEmpty() ? programDir : userTempDir; }

  // From the running executable and the environment; creates the user
  // directories it chooses. `folder` names the program's own subdirectory
  // there, `desktopFile` its menu entry (see InstalledWithMenuEntry). Needs a
  // QCoreApplication.
  static AppPaths FromApplication(const QString& folder, const QString& desktopFile);
};

// `dir` + "/" + `name`, without doubling the separator.
QString JoinDir(const QString& dir, const QString& name);

// Resolves `path` component by component without regard to letter case, as
// Windows does ("system/TOUser.ini" finds "System/touser.ini"). Components
// that exist exactly are taken as they are; the first component that exists
// in no spelling ends the search and the rest is kept as given. The result
// is the path to use for reading and for creating the file.
QString FindPathNoCase(const QString& path);

}  // namespace platform
