#include "ui/tray_icon.h"

#include "skin/artwork.h"

QString TrayToolTip(bool loggedIn, const QString& player, int membersOnline) {
  if (!loggedIn) return QStringLiteral("Quavik – abgemeldet");
  const QString who = player.isEmpty() ? QStringLiteral("Quavik – angemeldet")
                                       : QStringLiteral("Quavik – angemeldet als ") + player;
  const QString count = membersOnline == 1 ? QStringLiteral("1 Clanmitglied online")
                                           : QStringLiteral("%1 Clanmitglieder online").arg(membersOnline);
  return who + QLatin1Char('\n') + count;
}

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), menu_(std::make_unique<QMenu>()) {
  menu_->setObjectName(QStringLiteral("TrayMenu"));
  showWindow = menu_->addAction(QStringLiteral("Quavik anzeigen"));
  login = menu_->addAction(QStringLiteral("Anmelden"));
  menu_->addSeparator();
  quit = menu_->addAction(QStringLiteral("Beenden"));
  icon = new QSystemTrayIcon(this);
  icon->setContextMenu(menu_.get());
  connect(icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) emit clicked();
  });
  ShowState(false, TrayToolTip(false, QString(), 0));
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::ShowState(bool loggedIn, const QString& toolTip) {
  icon->setIcon(artwork::StatusIcon(loggedIn));
  icon->setToolTip(toolTip);
  login->setText(loggedIn ? QStringLiteral("Abmelden") : QStringLiteral("Anmelden"));
  // A tray that appears later gets the icon at the next change.
  if (Available() && !icon->isVisible()) icon->show();
}

void TrayIcon::Notify(const QString& text) {
  if (!Available()) return;
  icon->showMessage(QStringLiteral("Quavik"), text, QSystemTrayIcon::Information, 8000);
  emit notified(text);
}
