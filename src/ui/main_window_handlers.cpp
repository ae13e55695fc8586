// The window's own handlers: panels, links, minimise and close, the popup menu.
#include "ui/main_window.h"

using platform::BoxKind;
using platform::Buttons;

// Shows a hidden setup panel, hides a shown one; nothing is saved.
void TForm1::BitBtn1Click() { Setup->setVisible(Setup->isHidden()); }

// A failed save raises before the confirmation, and the panel stays open.
void TForm1::Button1Click() {
  SaveSettings();
  services.dialogs.ShowMessage(QStringLiteral("Die Konfiguration wurde gespeichert..."), Buttons::YesOnly,
                               BoxKind::Information);
  BitBtn1Click();
}

void TForm1::BitBtn2Click() {
  const QString site = set_clansite->text();
  if (site.isEmpty()) {
    services.dialogs.ShowMessage(
        QStringLiteral("Mit dieser Funktion könnten Sie direkt zu Ihrer Clansite springen. Legen Sie bitte "
                       "vorher deren URL in den Programmeinstellungen fest..."),
        Buttons::YesOnly, BoxKind::Information);
    return;
  }
  services.shell.OpenDocument(site);
}

void TForm1::Image8Click() { services.shell.OpenDocument(kHomePage); }

void TForm1::Image6Click() { Minimize(); }
void TForm1::Minimieren1Click() { Minimize(); }
void TForm1::Image7Click() { ApplicationClose(); }
void TForm1::Quavikbeenden1Click() { ApplicationClose(); }

void TForm1::berdenQuavik1Click() { about->show(); }
void TForm1::Button3Click() { about->hide(); }
void TForm1::Button2Click() { NewsPanel->hide(); }
