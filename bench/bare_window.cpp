// quavik-bench-bare-window: the floor quavik-bench-memory measures Quavik
// against. A Qt Widgets program that has initialised libcurl, as Quavik does,
// shows one plain widget of the main window's size and idles until it is
// ended.
#include <QApplication>
#include <QWidget>
#include <curl/curl.h>

int main(int argc, char** argv) {
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
