// The tray icon's menu and state, and the desktop notices about clan mates
// that each clan import may bring.
#include "game/game_profile.h"
#include "presence/clan_mate_notices.h"
#include "presence/player_name.h"
#include "presence/roster_status.h"
#include "ui/main_window.h"

void TForm1::BuildTray() {
  Tray = new TrayIcon(this);
  Bind(Tray->showWindow, &QAction::triggered, &TForm1::TrayShowClick);
  Bind(Tray->login, &QAction::triggered, &TForm1::TrayLoginClick);
  Bind(Tray->quit, &QAction::triggered, &TForm1::TrayQuitClick);
  Bind(Tray, &TrayIcon::clicked, &TForm1::TrayShowClick);
}

void TForm1::TrayShowClick() {
  showNormal();
  raise();
  activateWindow();
}

// The login image's own handler, so the tray logs in and out through the
// login cycle as a click does.
void TForm1::TrayLoginClick() {
  if (Timer->Enabled())
    button_aktivClick();
  else
    button_inaktivClick();
}

void TForm1::TrayQuitClick() { ApplicationClose(); }

QString TForm1::PlayerName() const {
  const QString name = presence::ReadPlayerName(game::GameFilePath(set_todir->text(), GameProfile.userIni));
  return name == QStringLiteral("?") ? QString() : name;
}

void TForm1::ShowLoginState(bool loggedIn) {
  clanMates.LoginShown(loggedIn);
  Tray->ShowState(loggedIn, TrayToolTip(loggedIn, PlayerName(), presence::MembersOnline(clanMates.Shown())));
}

void TForm1::ClanRosterShown(const std::vector<presence::RosterEntry>& roster) {
  const bool loggedIn = Timer->Enabled();
  const QString player = PlayerName();
  const std::vector<QString> notices = clanMates.RosterShown(roster, player, loggedIn);
  Tray->ShowState(loggedIn, TrayToolTip(loggedIn, player, presence::MembersOnline(roster)));
  if (!set_notify->isChecked()) return;
  for (const QString& notice : notices) Tray->Notify(notice);
}
