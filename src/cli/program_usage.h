// What "quavik" answers to --help, and which arguments the window start
// takes: "LOG" (the activity-log switch) and Qt's own options
// (-platform NAME, -style NAME, -geometry WxH+X+Y, -reverse, ... with one
// or two dashes, a value after a blank or after "="). Any other argument
// that starts with "-" is an option no mode knows.
#pragma once
#include <QString>
#include <QStringList>

QString QuavikUsage();

enum class StartRequest { Window, Help, UnknownOption };

struct StartChoice {
  StartRequest request = StartRequest::Window;
  QString option;  // the unknown one
};

// `arguments` without the program name, when no command-line mode is first.
StartChoice ChooseStart(const QStringList& arguments);
