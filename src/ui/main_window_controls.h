// The controls of the main window, back to front, each named as in the
// window definition (the same name is its Qt objectName). window_layout
// builds them into this struct; the window keeps it to itself.
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
#include "ui/skin_form.h"
#include "ui/tray_icon.h"
#include "ui/window_drag_filter.h"

struct MainWindowControls {
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

  // popup menu of the roster rows (grid, GlobalGrid)
  QMenu* RowPop = nullptr;
  QAction* ServerInfo1 = nullptr;

  // non-visual
  // Moves the window when one of OwnerLabel, Image12, Label8, grid is dragged.
  WindowDragFilter* windowDrag = nullptr;
  // The icon in the desktop's tray, and the notices about clan mates.
  TrayIcon* Tray = nullptr;

};
