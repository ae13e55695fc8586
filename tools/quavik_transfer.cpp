// quavik-transfer: the transfer component on the command line (see
// cli/transfer_command.h for the options and the output).
#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "cli/transfer_command.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QTextStream out(stdout);
  QTextStream err(stderr);
  const ParsedArguments parsed = ParseTransferArguments(arguments);
  if (parsed.help) {
    out << TransferUsage();
    return 0;
  }
  if (!parsed.command) {
    err << "quavik-transfer: " << parsed.error << '\n' << TransferUsage();
    return 2;
  }
  const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                       !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  if (parsed.command->dialog && !display) {
    err << "quavik-transfer: --dialog needs a display\n";
    return 2;
  }
  std::unique_ptr<QCoreApplication> app;
  if (parsed.command->dialog) app = std::make_unique<QApplication>(argc, argv);
  else app = std::make_unique<QCoreApplication>(argc, argv);
  return RunTransferCommand(*parsed.command, out);
}
