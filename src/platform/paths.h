// Where the program lives and how game files are found.
#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Given to the main window, so tests can place everything in a temp dir.
struct AppPaths {
  QString programDir;   // directory of the running executable, no trailing separator
  QString workingDir;   // the process's working directory
  QStringList arguments;  // command-line arguments after the program name

  static AppPaths FromApplication();  // needs a QCoreApplication
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
