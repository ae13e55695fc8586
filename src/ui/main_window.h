// TForm1, the program's one main window: a frameless, fixed 299 x 399 window
// drawn by its skin, holding the two roster lists, the setup, about and news
// panels, the image buttons, the login button, the list switch and the
// bookmark list. Every control is a public member named as in the window
// definition (the same name is its Qt objectName).
//
// Each user action or timer tick is one handler method, bound to its control
// in the constructor; every bound handler runs through platform::RunGuarded,
// so an exception it raises is shown in the error box and the program goes
// on. The controls are built by window_layout (window_layout, setup_panel,
// info_panels); the handlers are spread over several files by subject:
//   main_window.cpp            construction, bindings, close event
//   main_window_handlers.cpp   the window's own handlers (panels, links, ...)
//   main_window_app.cpp        start-up, settings, shutdown (form_sequences)
//   main_window_cycle.cpp      login, ticks, reload: handed to the login cycle
//   main_window_presence.cpp   the two roster lists and the update indicator
//   main_window_tray.cpp       the tray icon and the clan mate notices
//   main_window_game.cpp       key bindings, exec scripts, launches, bookmarks
//   main_window_news.cpp       the news fetch
#pragma once
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/activity_log.h"
#include "game/game_profile.h"
#include "app/services.h"
#include "game/keybinder.h"
#include "game/server_bookmarks.h"
#include "platform/window_timer.h"
#include "presence/clan_mate_notices.h"
#include "presence/login_cycle.h"
#include "presence/roster.h"
#include "transfer/file_transfer.h"
#include "ui/image_control.h"
#include "ui/skin_form.h"
#include "ui/tray_icon.h"
#include "ui/window_drag_filter.h"

class QCloseEvent;
class TForm2;
class CycleAdapter;
namespace app {
class NewsFetch;
}

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // Builds every control, binds the handlers, then runs FormCreate guarded.
  explicit TForm1(app::Services& services, QWidget* parent = nullptr);
  ~TForm1() override;

  // The product's home page, opened by Image8.
  static const QString kHomePage;

  // ---- controls, back to front ----
  TSkinForm* SkinForm1 = nullptr;
  TImage* reloadbackground = nullptr;
  TImage* Image2 = nullptr;
  TImage* Image3 = nullptr;
  TImage* Image4 = nullptr;
  TImage* Image5 = nullptr;
  TImage* button_aktiv = nullptr;
  TImage* button_inaktiv = nullptr;
  TImage* Image6 = nullptr;
  TImage* Image7 = nullptr;
  TImage* Image8 = nullptr;
  QLabel* OwnerLabel = nullptr;
  TImage* Image12 = nullptr;
  TImage* clan_active = nullptr;
  TImage* global_inactive = nullptr;
  TImage* global_active = nullptr;
  TImage* clan_inactive = nullptr;
  TImage* updateicon = nullptr;
  QLabel* Label8 = nullptr;
  TImage* Image9 = nullptr;
  QTableWidget* GlobalGrid = nullptr;
  QTableWidget* grid = nullptr;
  QFrame* Setup = nullptr;
  QComboBox* serverliste = nullptr;
  QFrame* about = nullptr;
  QFrame* NewsPanel = nullptr;

  // setup panel
  QTabWidget* PassContainer = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QLineEdit* set_server = nullptr;
  QLineEdit* set_pass = nullptr;
  QLineEdit* set_globalserver = nullptr;
  QLineEdit* set_globalpass = nullptr;
  QLineEdit* set_todir = nullptr;
  QLineEdit* set_clansite = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QComboBox* set_intervall = nullptr;
  QComboBox* set_retailmod = nullptr;
  QCheckBox* set_logkill = nullptr;
  QCheckBox* set_notify = nullptr;  // desktop notices about clan mates
  QCheckBox* set_traymin = nullptr;  // minimise into the tray instead of the task bar
  QComboBox* set_keybinder_echo = nullptr;
  QComboBox* set_keybinder_teamsay = nullptr;
  QComboBox* set_keybinder_say = nullptr;
  QPushButton* Button1 = nullptr;

  // about and news panels
  QLabel* SettingsFileLabel = nullptr;  // where the settings file is
  QPushButton* Button3 = nullptr;
  QPlainTextEdit* NewsMemo = nullptr;
  QPushButton* Button2 = nullptr;

  // popup menu of the title strip
  QMenu* TopPop = nullptr;
  QAction* berdenQuavik1 = nullptr;
  QAction* Minimieren1 = nullptr;
  QAction* Quavikbeenden1 = nullptr;

  // non-visual
  platform::WindowTimer* Timer = nullptr;
  platform::WindowTimer* DelayTimer = nullptr;
  // The reports' transfer, and the news' own, so a news click never
  // disturbs a report.
  TFileTransfer* webget = nullptr;
  TFileTransfer* newsget = nullptr;
  // Moves the window when one of OwnerLabel, Image12, Label8, grid is dragged.
  WindowDragFilter* windowDrag = nullptr;
  // The directory chooser SpeedButton1 shows; when none was given, one is
  // made the first time (its tree costs memory most sessions never need).
  TForm2* Form2 = nullptr;
  // The icon in the desktop's tray, and the notices about clan mates.
  TrayIcon* Tray = nullptr;

  // ---- program values ----
  app::Services& services;
  platform::ActivityLog activityLog;
  QString settingsFilePath;
  game::GameProfile GameProfile;
  QString RosterSummary;
  game::ServerBookmarks Bookmarks;  // as serverliste shows them
  int RosterRowCount = 0;
  bool ClanListShown = true;
  // Owns login, ticks, reload, logout and their reports.
  std::unique_ptr<presence::LoginCycle> cycle;
  game::TostNotice tostNotice;
  // Where the news come from; tests point it at a loopback server.
  QString newsUrl = kNewsUrl;
  static const QString kNewsUrl;
  static const QString kNewsSiteName;

  // ---- the window's own handlers ----
  void BitBtn1Click();
  void Button1Click();
  void BitBtn2Click();
  void Image8Click();
  void Image6Click();
  void Image7Click();
  void berdenQuavik1Click();
  void Minimieren1Click();
  void Quavikbeenden1Click();
  void Button3Click();
  void Button2Click();

  // ---- start-up, settings, shutdown ----
  void FormCreate();
  void FormClose();
  void ApplicationClose();
  void Minimize();
  void ReadSettings();
  void SaveSettings();
  void CheckGameDirectory();
  void DefineGameProfile();

  // ---- presence, roster, game, news ----
  void reloadClick();
  void button_aktivClick();
  void button_inaktivClick();
  void StartStop();
  void TimerTimer();
  void ShowClanRoster(const presence::ClanRoster& roster);
  void ClearRefusedName();
  void ClearClanGrid();
  void clan_activeClick();
  void UpdateVisDelay(int ms);
  void DelayTimerTimer();
  void gridDblClick();
  void Image5Click();
  void serverlisteChange();
  void set_keybinder_echoChange();
  void WriteKeyBindings();
  void WriteExecScripts();
  void ShowPlayerName();
  // A game file of the current profile where the game keeps it (Wine or
  // native layout), and the program that starts the game.
  QString GameFile(const QString& fileName) const;
  QString GameExecutable() const;
  void Image9Click();
  void ReadServerBookmarks();
  void webgetURLNotFound(const QString& url);
  void GlobalGridDblClick();
  void SpeedButton1Click();

  // ---- tray icon and clan mate notices ----
  void TrayShowClick();
  void TrayLoginClick();
  void TrayQuitClick();
  // The tray's icon, tooltip and login item for this login state.
  void ShowLoginState(bool loggedIn);
  // After each clan import: the notices it brings, and the tooltip's count.
  void ClanRosterShown(const std::vector<presence::RosterEntry>& roster);

 protected:
  // Any way the system closes the window leads to FormClose.
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs `handler` through the standard error report.
  void Guarded(const std::function<void()>& handler);
  // `sender`'s signal runs `handler` guarded.
  template <typename Sender, typename Signal>
  void Bind(Sender* sender, Signal signal, void (TForm1::*handler)()) {
    connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  }

  void BuildWindow();
  void BindHandlers();
  void BuildTransfers();
  void BuildLoginCycle();
  std::unique_ptr<CycleAdapter> cycleAdapter;
  std::unique_ptr<presence::ReportChannel> reportChannel;
  std::unique_ptr<app::NewsFetch> newsFetch;
  std::unique_ptr<TForm2> ownChooser;  // the one made for Form2
  void BuildTray();
  QString PlayerName() const;
  presence::ClanMateWatch clanMates;
  // Set once ApplicationClose has told the application to end.
  bool terminating = false;
  friend class ClosingForm;
};
