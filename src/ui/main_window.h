// The program's one main window: a frameless, fixed 299 x 399 window
// drawn by its skin, holding the two roster lists, the setup, about and news
// panels, the image buttons, the login button, the list switch and the
// bookmark list. It is the session's view (app/main_view.h): the session
// (app/session.h), which it owns, decides and tells it what to show; each
// user action is one handler here that hands it to the session. Its controls
// are its own (ui/main_window_controls.h); tests find them by their names.
// The setup, about and news panels are built the first time they are shown:
// most evenings never open them, and their controls' code and faces would
// otherwise stay loaded all evening. Until then the window holds what they
// would show.
//
// Every bound handler runs through platform::RunGuarded, so an exception it
// raises is shown in the error box and the program goes on. The controls are
// built by window_layout (window_layout, setup_panel, info_panels):
//   main_window.cpp            construction, bindings, close event
//   main_window_handlers.cpp   the user's actions
//   main_window_view.cpp       what the session shows
#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/main_view.h"
#include "app/services.h"
#include "ui/main_window_controls.h"

class QCloseEvent;
class QFrame;
class QTableWidget;
class ServerHover;
class ServerInfoPanel;
class DirectoryChooser;
namespace app {
class Session;
}
namespace serverinfo {
class ServerInfoCache;
}

class MainWindow : public QWidget, public app::MainView {
  Q_OBJECT

 public:
  // Builds every control, binds the handlers, then runs the session's
  // start-up guarded.
  explicit MainWindow(app::Services& services, QWidget* parent = nullptr);
  ~MainWindow() override;

  app::Session& session() { return *session_; }
  // The directory chooser chooseDirectoryButton shows (not owned here); when none
  // was given, one is made the first time (its tree costs memory most
  // sessions never need).
  void SetDirectoryChooser(DirectoryChooser* chooser) { chooser_ = chooser; }
  // Rows of the clan list in use, the heading included.
  int RosterRowsInUse() const { return rosterRows_; }
  // The "Online auf:" text of clan list row `row` (1 is the first entry);
  // empty for the heading or a row beyond the list.
  QString ClanRowServer(int row) const;
  // The live info of the servers the user hovers or opens: one for the
  // program, idle while the window sits in the tray.
  serverinfo::ServerInfoCache& serverInfo() { return *serverInfo_; }
  // Builds the panels not shown yet, hidden, so that every control can be
  // found by its name (the window tests' driver does).
  void BuildAllPanels();
  // Shows the window again from the task bar or the tray, in front.
  void BringToFront();

  // ---- app::MainView ----
  void ShowSettings(const app::Settings& settings) override;
  void ShowSetup(bool visible) override;
  void ShowKeyChoices(const QStringList& keys) override;
  void ShowSettingsFile(const QString& path) override;
  void MoveWindow(const QPoint& position) override;
  void ShowLoggedIn(bool loggedIn) override;
  void ShowRosterHeadings() override;
  void ClearClanRoster() override;
  void ShowClanRoster(const std::vector<presence::RosterEntry>& entries) override;
  void ClearRefusedName() override;
  void ShowGlobalNotice() override;
  void ShowClanList(bool clan) override;
  void ShowUpdateIndicator(bool visible) override;
  void PlacePanels() override;
  void ShowPlayerCaption(const QString& caption) override;
  void ShowBookmarks(const QStringList& entries, const QString& hint) override;
  void ShowBookmarkHint(const QString& hint) override;
  void ShowNewsWaiting(const QString& notice) override;
  void ShowNews(const QStringList& lines) override;
  bool TrayAvailable() const override;
  void ShowTrayState(bool loggedIn, const QString& player, int membersOnline) override;
  void Notify(const QString& text) override;
  void Minimize(bool intoTray) override;

 protected:
  // Any way the system closes the window leads to the session's FormClose.
  void closeEvent(QCloseEvent* event) override;
  // While the window is in the tray or minimised nobody looks at a
  // server: the server info asks nothing until it is back.
  void showEvent(QShowEvent* event) override;
  // The window's place goes to the session, which saves it.
  void moveEvent(QMoveEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Runs `handler` through the standard error report.
  void Guarded(const std::function<void()>& handler);
  // `sender`'s signal runs `handler` guarded.
  template <typename Sender, typename Signal>
  void Bind(Sender* sender, Signal signal, void (MainWindow::*handler)()) {
    connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  }

  // ---- the user's actions ----
  // The setup button: shows a hidden setup panel, hides a shown one.
  void ToggleSetupPanel();
  // "Konfiguration speichern": saved and confirmed, then the panel hidden.
  void SaveSettingsAndReturn();
  void OpenClanSite();
  void OpenHomePage();
  // The minimise button and the title menu's entry.
  void MinimizeByUser();
  // The close button, the title menu's and the tray's entries.
  void CloseProgram();
  void ShowAboutPanel();
  void CloseAboutPanel();
  void CloseNewsPanel();
  // The login and logout buttons, and the tray's entry.
  void LogInOrOut();
  void Reload();
  // Either list tab: the other roster list.
  void SwitchRosterList();
  // A double click on a clan row: the game onto that row's server.
  void LaunchFromClanRow();
  // A double click on a global row: the row's text to the clipboard.
  void CopyGlobalRow();
  void StartGame();
  void BookmarkChosen();
  void EchoKeyChosen();
  void FetchNews();
  // The folder button: the directory chooser over the game directory box.
  void ChooseGameDirectory();
  void RowMenuRequested(QTableWidget* list, const QPoint& at);
  void ShowServerInfo();
  void InfoPanelJoin(const QString& serverText);

  // An edit of the setup panel: its values to the session.
  void PanelEdited();
  // Counts the session's own fills of the panel for as long as it lives:
  // what the session shows is no edit.
  class PanelFilled {
   public:
    explicit PanelFilled(int& count) : count_(count) { ++count_; }
    ~PanelFilled() { --count_; }
    PanelFilled(const PanelFilled&) = delete;
    PanelFilled& operator=(const PanelFilled&) = delete;

   private:
    int& count_;
  };

  void BuildWindow();
  void BindHandlers();
  // Each panel, built and bound the first time it is asked for.
  QFrame* SetupPanel();
  QFrame* AboutPanel();
  QFrame* NewsPanel();
  // After a panel was built: the Tab key's order, and the panels stacked in
  // the order they were designed in.
  void PanelBuilt();
  void BuildTray();
  // The server info: the cache, the tooltips over the rows and bookmarks,
  // the rows' popup menu.
  void BuildServerInfo();
  // The game played, as the game list counts (it picks the query).
  int GameIndex() const;
  void SetServerInfoIdle(bool idle);
  app::Services& services_;
  MainWindowControls ui_;
  DirectoryChooser* chooser_ = nullptr;
  std::unique_ptr<DirectoryChooser> ownChooser_;  // the one made for chooser_
  int rosterRows_ = 0;
  // What the panels show, kept for the panels not built yet.
  app::Settings panelValues_;
  QStringList keyChoices_;
  QString settingsFile_;
  bool panelsPlaced_ = false;
  int showingSettings_ = 0;  // PanelFilled
  // Destroyed in this order after the session: the panel and the hover
  // refer to the cache.
  std::unique_ptr<serverinfo::ServerInfoCache> serverInfo_;
  std::unique_ptr<ServerHover> hover_;
  std::unique_ptr<ServerInfoPanel> infoPanel_;  // made the first time it is opened
  QString rowMenuServer_;                       // the server of the row RowPop was opened on
  std::unique_ptr<app::Session> session_;
};
