// The program's icon in the desktop's tray: green while logged in, grey
// while logged out, with a tooltip of the player's state and a menu to show
// the window, log in or out, and quit. Desktop notices go out as the icon's
// messages (the desktop's notification service where there is one). The
// menu and its actions exist whether or not the desktop has a tray; the
// icon is shown from the first state shown while a tray is there (at start,
// at a login or logout, after an import), and messages go out only then.
#pragma once
#include <QAction>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

// "Quavik - angemeldet als Kim" and the number of clan members online, or
// "Quavik - abgemeldet".
QString TrayToolTip(bool loggedIn, const QString& player, int membersOnline);

class TrayIcon : public QObject {
  Q_OBJECT

 public:
  explicit TrayIcon(QObject* parent = nullptr);
  ~TrayIcon() override;

  // Whether the desktop has a tray now; tests give a fixed answer.
  std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;
  bool Available() const { return trayAvailable(); }

  // Icon, tooltip and the login item's text for this state.
  void ShowState(bool loggedIn, const QString& toolTip);
  // One desktop notice; nothing without a tray.
  void Notify(const QString& text);

  QMenu* menu() const { return menu_.get(); }
  QAction* showWindow = nullptr;  // "Quavik anzeigen"
  QAction* login = nullptr;       // "Anmelden" or "Abmelden"
  QAction* quit = nullptr;        // "Beenden"
  QSystemTrayIcon* icon = nullptr;

 signals:
  // A click on the icon.
  void clicked();
  // A notice went to the desktop.
  void notified(const QString& text);

 private:
  std::unique_ptr<QMenu> menu_;  // a widget, so it can't be a child of this
};
