// The controls of the main window, back to front, each member named for its
// role. A control's Qt objectName is its name in the window definition
// (quoted beside the member where it differs; the set_ boxes are named so in
// both): the tests find the controls by it. window_layout builds them into
// this struct; the window keeps it to itself.
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
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QWidget>

#include "ui/image_control.h"
#include "skin/skin_form.h"
#include "ui/tray_icon.h"
#include "skin/window_drag_filter.h"

struct MainWindowControls {
  TSkinForm* skin = nullptr;  // "SkinForm1"
  TImage* reloadBackground = nullptr;  // "reloadbackground"
  TImage* clanSiteButton = nullptr;  // "Image2"
  TImage* reloadButton = nullptr;  // "Image3"
  TImage* setupButton = nullptr;  // "Image4"
  TImage* startGameButton = nullptr;  // "Image5"
  TImage* logoutButton = nullptr;  // "button_aktiv"
  TImage* loginButton = nullptr;  // "button_inaktiv"
  TImage* minimizeButton = nullptr;  // "Image6"
  TImage* closeButton = nullptr;  // "Image7"
  TImage* homePageLink = nullptr;  // "Image8"
  QLabel* playerCaption = nullptr;  // "OwnerLabel"
  TImage* titleStrip = nullptr;  // "Image12"
  TImage* clanListTabChosen = nullptr;  // "clan_active"
  TImage* globalListTab = nullptr;  // "global_inactive"
  TImage* globalListTabChosen = nullptr;  // "global_active"
  TImage* clanListTab = nullptr;  // "clan_inactive"
  TImage* updateIndicator = nullptr;  // "updateicon"
  QLabel* bookmarkCaption = nullptr;  // "Label8"
  TImage* newsButton = nullptr;  // "Image9"
  QTableWidget* globalList = nullptr;  // "GlobalGrid"
  QTableWidget* clanList = nullptr;  // "grid"
  QFrame* setupPanel = nullptr;  // "Setup"
  QComboBox* bookmarkList = nullptr;  // "serverliste"
  QFrame* aboutPanel = nullptr;  // "about"
  QFrame* newsPanel = nullptr;  // "NewsPanel"

  // setup panel
  QTabWidget* scriptTabs = nullptr;  // "PassContainer"
  QWidget* clanScriptPage = nullptr;  // "TabSheet1"
  QWidget* masterScriptPage = nullptr;  // "TabSheet2"
  QLineEdit* set_server = nullptr;
  QLineEdit* set_pass = nullptr;
  QLineEdit* set_globalserver = nullptr;
  QLineEdit* set_globalpass = nullptr;
  QLineEdit* set_todir = nullptr;
  QLineEdit* set_clansite = nullptr;
  QToolButton* chooseDirectoryButton = nullptr;  // "SpeedButton1"
  QComboBox* set_intervall = nullptr;
  QComboBox* set_retailmod = nullptr;
  QCheckBox* set_logkill = nullptr;
  QCheckBox* set_notify = nullptr;  // desktop notices about clan mates
  QCheckBox* set_traymin = nullptr;  // minimise into the tray instead of the task bar
  QComboBox* set_keybinder_echo = nullptr;
  QComboBox* set_keybinder_teamsay = nullptr;
  QComboBox* set_keybinder_say = nullptr;
  QPushButton* saveSettingsButton = nullptr;  // "Button1"

  // about and news panels
  QLabel* settingsFileLabel = nullptr;  // where the settings file is, "SettingsFileLabel"
  QPushButton* closeAboutButton = nullptr;  // "Button3"
  QPlainTextEdit* newsText = nullptr;  // "NewsMemo"
  QPushButton* closeNewsButton = nullptr;  // "Button2"

  // popup menu of the title strip
  QMenu* titleMenu = nullptr;  // "TopPop"
  QAction* aboutAction = nullptr;  // "berdenQuavik1"
  QAction* minimizeAction = nullptr;  // "Minimieren1"
  QAction* quitAction = nullptr;  // "Quavikbeenden1"

  // popup menu of the roster rows (clanList, globalList)
  QMenu* rowMenu = nullptr;  // "RowPop"
  QAction* serverInfoAction = nullptr;  // "ServerInfo1"

  // non-visual
  // Moves the window when one of playerCaption, titleStrip, bookmarkCaption,
  // clanList is dragged.
  WindowDragFilter* windowDrag = nullptr;
  // The icon in the desktop's tray, and the notices about clan mates.
  TrayIcon* tray = nullptr;  // "Tray"

};
