// TForm1, the program's one main window: a frameless, fixed 299 x 399 window
// drawn by its skin, holding the two roster lists, the setup, about and news
// panels, the image buttons, the login button, the list switch and the
// bookmark list. It is the session's view (app/main_view.h): the session
// (app/session.h), which it owns, decides and tells it what to show; each
// user action is one handler here that hands it to the session. Every
// control is named as in the window definition (its Qt objectName).
//
// Every bound handler runs through platform::RunGuarded, so an exception it
// raises is shown in the error box and the program goes on. The controls are
// built by window_layout (window_layout, setup_panel, info_panels):
//   main_window.cpp            construction, bindings, close event
//   main_window_handlers.cpp   the user's actions
//   main_window_view.cpp       what the session shows
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
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/main_view.h"
#include "app/services.h"
#include "ui/image_control.h"
#include "ui/skin_form.h"
#include "ui/tray_icon.h"
#include "ui/window_drag_filter.h"

class QCloseEvent;
class TForm2;
namespace app {
class Session;
}

class TForm1 : public QWidget, public app::MainView {
  Q_OBJECT

 public:
  // Builds every control, binds the handlers, then runs the session's
  // start-up guarded.
  explicit TForm1(app::Services& services, QWidget* parent = nullptr);
  ~TForm1() override;

  app::Session& session() { return *session_; }
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
  // Moves the window when one of OwnerLabel, Image12, Label8, grid is dragged.
  WindowDragFilter* windowDrag = nullptr;
  // The directory chooser SpeedButton1 shows; when none was given, one is
  // made the first time (its tree costs memory most sessions never need).
  TForm2* Form2 = nullptr;
  // The icon in the desktop's tray, and the notices about clan mates.
  TrayIcon* Tray = nullptr;

  app::Services& services;
  // Rows of the clan list in use, the heading included.
  int RosterRowCount = 0;

  // ---- the user's actions ----
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
  void reloadClick();
  void button_aktivClick();
  void button_inaktivClick();
  void clan_activeClick();
  void gridDblClick();
  void Image5Click();
  void Image9Click();
  void serverlisteChange();
  void set_keybinder_echoChange();
  void GlobalGridDblClick();
  void SpeedButton1Click();
  void TrayShowClick();
  void TrayLoginClick();
  void TrayQuitClick();

  // ---- app::MainView ----
  app::Settings SetupValues(const app::Settings& base) const override;
  void ShowSettings(const app::Settings& settings) override;
  void ShowSetup(bool visible) override;
  void ShowKeyChoices(const QStringList& keys) override;
  void ShowSettingsFile(const QString& path) override;
  QPoint WindowPosition() const override;
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
  std::unique_ptr<TForm2> ownChooser;  // the one made for Form2
  void BuildTray();
  std::unique_ptr<app::Session> session_;
};
