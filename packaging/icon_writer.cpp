// Writes the program's icon as PNG files for the desktop's icon theme:
//   quavik-icon-writer <directory> <size>...
// gives <directory>/<size>x<size>/apps/quavik.png for every size. Runs
// without a display.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "skin/artwork.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QStringList args = application.arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: quavik-icon-writer <directory> <size>...\n");
    return 2;
  }
  for (int i = 2; i < args.size(); ++i) {
    bool ok = false;
    const int size = args[i].toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "not an icon size: %s\n", qPrintable(args[i]));
      return 2;
    }
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(size);
    const QString file = dir + QStringLiteral("/quavik.png");
    if (!QDir().mkpath(dir) || !artwork::AppIcon(size).save(file, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
