// Program entry: the real services, the guarded application and the main window.
#include "platform/dialogs.h"
#include "platform/guarded_application.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/waits.h"
#include "app/services.h"
#include "ui/directory_chooser.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  platform::QtDialogs dialogs;
  platform::SystemShell shell;
  platform::GuardedApplication application(argc, argv, dialogs);
  application.setApplicationName(QStringLiteral("Quavik RC5"));
  application.setApplicationDisplayName(QStringLiteral("Quavik RC5"));
  app::Services services{dialogs, shell, platform::AppPaths::FromApplication(QStringLiteral("quavik")), platform::Waits{}, {}};
  TForm1 form(services);
  TForm2 chooser(form.set_todir);
  form.Form2 = &chooser;
  form.show();
  return application.exec();
}
