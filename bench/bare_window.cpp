// quavik-bench-bare-window: the floor quavik-bench-memory measures Quavik
// against. A Qt Widgets program that has initialised libcurl, as Quavik does,
// shows one plain widget of the main window's size and idles until it is
// ended.
#include <QApplication>
#include <QWidget>
#include <curl/curl.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("Usage: quavik-bench-bare-window [Qt's options]\nShows a plain window until it is ended.\n");
      return 0;
    }
  }
  curl_global_init(CURL_GLOBAL_DEFAULT);
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.resize(299, 399);
  window.show();
  const int code = application.exec();
  curl_global_cleanup();
  return code;
}
