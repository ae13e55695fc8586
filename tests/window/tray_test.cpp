// The tray icon of the real main window, offscreen: its menu, minimising to
// it, its state, and the clan mate notices after the imports of a login
// against a clan script on loopback.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "support/loopback_http_server.h"
#include "app/session.h"
#include "support/window_fixture.h"

using testing_support::LoopbackHttpServer;
using testing_support::WindowFixture;

using testing_support::WindowDriver;

namespace {

std::string Record(const std::string& name, const std::string& where) {
  return name + "\r\n" + where + "\r\n2024-05-01\r\n20:15\r\n";
}

// The player is "Kim" (the installed game's user INI).
class Tray : public ::testing::Test {
 protected:
  WindowDriver& Open(bool trayThere, const std::string& guiLines = "") {
    w.InstallGame();
    w.dir.Write("program/quavik.ini", "[MAIN]\r\nScript-URL=" + http.Url("/q.php") + "\r\nPass=pw\r\nDirectory=" +
                                          w.gameDir.toStdString() + "\r\n[GUI]\r\n" + guiLines);
    WindowDriver& f = w.Open();
    f.Tray()->trayAvailable = [trayThere] { return trayThere; };
    f.session().reportTransfer().ConnectTimeoutMs = 1000;
    f.session().reportTransfer().StallTimeoutMs = 2000;
    notices = std::make_unique<QSignalSpy>(f.Tray(), &TrayIcon::notified);
    return f;
  }

  // The notices sent since the last call.
  QStringList TakeNotices() {
    QStringList texts;
    for (const QList<QVariant>& call : *notices) texts << call.at(0).toString();
    notices->clear();
    return texts;
  }

  // Logs in with `first` as the answer, then imports each of `later` in one tick.
  std::vector<QStringList> Run(WindowDriver& f, const std::string& first, const std::vector<std::string>& later) {
    http.Serve("/q.php", first);
    f.session().StartStop();
    EXPECT_TRUE(f.session().LoggedIn());
    std::vector<QStringList> result{TakeNotices()};
    for (const std::string& answer : later) {
      http.Serve("/q.php", answer);
      f.session().Tick();
      result.push_back(TakeNotices());
    }
    return result;
  }

  LoopbackHttpServer http;
  WindowFixture w;
  std::unique_ptr<QSignalSpy> notices;
};

TEST_F(Tray, MenuOffersShowLoginAndQuit) {
  WindowDriver& f = Open(true);
  const QList<QAction*> items = f.Tray()->menu()->actions();
  QStringList texts;
  for (QAction* item : items)
    if (!item->isSeparator()) texts << item->text();
  EXPECT_EQ(texts, QStringList({"Quavik anzeigen", "Anmelden", "Beenden"}));
}

TEST_F(Tray, MinimiseGoesToTheTaskBarUnlessTheTrayIsChosen) {
  WindowDriver& f = Open(true);
  f.window().show();
  EXPECT_FALSE(f.Check("set_traymin")->isChecked()) << "the task bar by default";
  f.Click("Minimieren");
  EXPECT_FALSE(f.window().isHidden());
  EXPECT_TRUE(f.window().windowState() & Qt::WindowMinimized);
  f.Tray()->showWindow->trigger();
  EXPECT_FALSE(f.window().isMinimized());
  f.ChooseMenuItem("Minimieren");
  EXPECT_TRUE(f.window().windowState() & Qt::WindowMinimized);
}

TEST_F(Tray, ChosenTrayMinimiseHidesToTheTrayAndTheMenuOrAClickBringsTheWindowBack) {
  WindowDriver& f = Open(true);
  f.Check("set_traymin")->setChecked(true);
  f.Button("Button1")->click();  // saved with the configuration
  EXPECT_NE(w.SettingsFile().find("TrayMinimize=1"), std::string::npos);
  f.window().show();
  f.Click("Minimieren");
  EXPECT_TRUE(f.window().isHidden());
  f.Tray()->showWindow->trigger();
  EXPECT_TRUE(f.window().isVisible());
  EXPECT_FALSE(f.window().isMinimized());

  f.ChooseMenuItem("Minimieren");
  EXPECT_TRUE(f.window().isHidden());
  emit f.Tray()->icon->activated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(f.window().isVisible());
}

TEST_F(Tray, WithoutATrayMinimiseMinimisesAsBefore) {
  WindowDriver& f = Open(false);
  f.Check("set_traymin")->setChecked(true);
  f.window().show();
  f.Click("Minimieren");
  EXPECT_FALSE(f.window().isHidden());
  EXPECT_TRUE(f.window().windowState() & Qt::WindowMinimized);
}

TEST_F(Tray, LoginAndLogoutFromTheMenuFollowTheState) {
  WindowDriver& f = Open(true);
  http.Serve("/q.php", Record("Kim", "1.2.3.4:7777") + Record("Lee", "Sucht Server...") + Record("Bo", "offline"));
  EXPECT_EQ(f.Tray()->icon->toolTip(), "Quavik – abgemeldet");

  f.Tray()->login->trigger();
  ASSERT_TRUE(f.session().LoggedIn());
  EXPECT_TRUE(f.Image("button_aktiv")->isVisibleTo(&f.window()));
  EXPECT_EQ(f.Tray()->login->text(), "Abmelden");
  EXPECT_EQ(f.Tray()->icon->toolTip(), "Quavik – angemeldet als Kim\n2 Clanmitglieder online");

  f.Tray()->login->trigger();
  EXPECT_FALSE(f.session().LoggedIn());
  EXPECT_TRUE(f.Image("button_inaktiv")->isVisibleTo(&f.window()));
  EXPECT_EQ(f.Tray()->login->text(), "Anmelden");
  EXPECT_EQ(f.Tray()->icon->toolTip(), "Quavik – abgemeldet");
  const auto requests = http.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Param("server"), "<i>offline</i>");
}

TEST_F(Tray, QuitClosesTheProgramAsTheCloseImageDoes) {
  WindowDriver& f = Open(true);
  f.Tray()->quit->trigger();
  EXPECT_EQ(w.terminations, 1);
  EXPECT_NE(w.SettingsFile().find("Notify=1"), std::string::npos);
}

TEST_F(Tray, ClanMatesComingOnlineOrMovingGiveNotices) {
  WindowDriver& f = Open(true);
  const auto notices =
      Run(f, Record("Kim", "1.2.3.4:7777") + Record("Lee", "Sucht Server..."),
          {Record("Kim", "1.2.3.4:7777") + Record("Lee", "5.6.7.8:7777") + Record("Ann", "9.9.9.9:7777"),
           Record("Kim", "2.2.2.2:7777") + Record("Lee", "6.6.6.6:7777") + Record("Ann", "9.9.9.9:7777"),
           Record("Kim", "2.2.2.2:7777")});
  const std::vector<QStringList> expected{
      {},  // the first roster after the login
      {"Lee ist online: 5.6.7.8:7777", "Ann ist online: 9.9.9.9:7777"},
      {"Lee spielt jetzt auf 6.6.6.6:7777"},  // the player's own move is no news
      {},
  };
  EXPECT_EQ(notices, expected);
  EXPECT_EQ(f.Tray()->icon->toolTip(), "Quavik – angemeldet als Kim\n1 Clanmitglied online");
}

TEST_F(Tray, AFreshLoginStartsFromItsOwnFirstRoster) {
  WindowDriver& f = Open(true);
  Run(f, Record("Lee", "5.6.7.8:7777"), {});
  f.session().StartStop();  // logout; its answer brings nobody news
  EXPECT_TRUE(TakeNotices().isEmpty());
  const auto notices = Run(f, Record("Lee", "5.6.7.8:7777") + Record("Ann", "9.9.9.9:7777"),
                           {Record("Lee", "5.6.7.8:7777") + Record("Ann", "9.9.9.9:7777") + Record("Bo", "1.1.1.1")});
  EXPECT_EQ(notices, (std::vector<QStringList>{{}, {"Bo ist online: 1.1.1.1"}}));
}

TEST_F(Tray, NoNoticesWhenSwitchedOffOrWithoutATray) {
  const std::string first = Record("Kim", "1.2.3.4:7777");
  const std::string second = first + Record("Lee", "5.6.7.8:7777");
  {
    SCOPED_TRACE("Notify=0 in the settings file");
    WindowDriver& f = Open(true, "Notify=0\r\n");
    EXPECT_FALSE(f.Check("set_notify")->isChecked());
    EXPECT_EQ(Run(f, first, {second}), (std::vector<QStringList>{{}, {}}));
    f.session().SaveSettings();
    EXPECT_NE(w.SettingsFile().find("Notify=0"), std::string::npos);
  }
  {
    SCOPED_TRACE("no tray");
    WindowDriver& f = Open(false);
    EXPECT_TRUE(f.Check("set_notify")->isChecked());
    EXPECT_EQ(Run(f, first, {second}), (std::vector<QStringList>{{}, {}}));
  }
}

TEST(TrayToolTipText, StateNameAndCount) {
  EXPECT_EQ(TrayToolTip(false, "Kim", 3), "Quavik – abgemeldet");
  EXPECT_EQ(TrayToolTip(true, "Kim", 0), "Quavik – angemeldet als Kim\n0 Clanmitglieder online");
  EXPECT_EQ(TrayToolTip(true, "Kim", 1), "Quavik – angemeldet als Kim\n1 Clanmitglied online");
  EXPECT_EQ(TrayToolTip(true, "", 5), "Quavik – angemeldet\n5 Clanmitglieder online");
}

}  // namespace
