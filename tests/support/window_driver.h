// Drives the main window as a user does: clicks on its image buttons by the
// hint they show ("Anmelden", "Programmsetup"), double clicks on roster rows,
// choices in its lists, items of the title strip's menu; and reads what it
// shows through its controls, found by their design names (the objectName
// each control carries). Tests reach the window only through this driver;
// what the window's session does is reached through session().
#pragma once
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <stdexcept>
#include <string>

#include "app/session.h"
#include "ui/image_control.h"
#include "ui/main_window.h"
#include "ui/tray_icon.h"

namespace testing_support {

class WindowDriver {
 public:
  explicit WindowDriver(TForm1& window) : window_(window) {}

  QWidget& window() const { return window_; }
  app::Session& session() const { return window_.session(); }

  // ---- the user's actions ----
  // A click on the image button whose hint is `hint` (the one with the hand
  // cursor, where a picture behind it has the same hint): "Anmelden",
  // "Abmelden", "Aktualisieren", "Programmsetup", "Zur Clanwebsite",
  // "Aktuelle News online abrufen", "Minimieren", "Close", "Clanverzeichnis",
  // "Globales Verzeichnis", "Tactical Ops starten" ...
  void Click(const QString& hint) const {
    for (TImage* image : window_.findChildren<TImage*>()) {
      if (image->toolTip() == hint && image->cursor().shape() == Qt::PointingHandCursor) {
        emit image->clicked();
        return;
      }
    }
    throw std::runtime_error("no image button shows the hint " + hint.toStdString());
  }
  // The title strip's menu item with this text.
  void ChooseMenuItem(const QString& text) const {
    for (QAction* item : Menu()->actions()) {
      if (item->text() == text) {
        item->trigger();
        return;
      }
    }
    throw std::runtime_error("no menu item " + text.toStdString());
  }
  // A double click on `row` of the clan list (0 is the heading).
  void DoubleClickClanRow(int row) const { DoubleClickRow(ClanList(), row); }
  void DoubleClickGlobalRow(int row) const { DoubleClickRow(GlobalList(), row); }
  // A double click on the clan list's current row, whichever it is.
  void DoubleClickCurrentClanRow() const { emit ClanList()->doubleClicked(ClanList()->currentIndex()); }
  // The bookmark at `index` chosen in the bookmark list.
  void ChooseBookmark(int index) const { Choose(Choice("serverliste"), index); }
  // The key at `index` chosen in the key list `name`.
  void ChooseKey(const char* name, int index) const { Choose(Choice(name), index); }

  // ---- the controls, by their design names ----
  template <typename T = QWidget>
  T* Control(const char* name) const {
    T* control = window_.findChild<T*>(QString::fromLatin1(name));
    if (!control) throw std::runtime_error(std::string("no control ") + name);
    return control;
  }
  TImage* Image(const char* name) const { return Control<TImage>(name); }
  QLineEdit* Edit(const char* name) const { return Control<QLineEdit>(name); }
  QComboBox* Choice(const char* name) const { return Control<QComboBox>(name); }
  QCheckBox* Check(const char* name) const { return Control<QCheckBox>(name); }
  QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }
  QLabel* Label(const char* name) const { return Control<QLabel>(name); }
  QFrame* Panel(const char* name) const { return Control<QFrame>(name); }
  QAction* MenuItem(const char* name) const { return Control<QAction>(name); }
  QTableWidget* ClanList() const { return Control<QTableWidget>("grid"); }
  QTableWidget* GlobalList() const { return Control<QTableWidget>("GlobalGrid"); }
  QFrame* SetupPanel() const { return Panel("Setup"); }
  QPlainTextEdit* NewsText() const { return Control<QPlainTextEdit>("NewsMemo"); }
  QMenu* Menu() const { return Control<QMenu>("TopPop"); }
  TrayIcon* Tray() const { return Control<TrayIcon>("Tray"); }

  // ---- what the window shows ----
  // Rows of the clan list in use, the heading included.
  int ClanRowsInUse() const { return window_.RosterRowsInUse(); }
  // Shows `roster` in the clan list as an import does.
  void ShowClanRoster(const presence::ClanRoster& roster) const {
    window_.ClearClanRoster();
    window_.ShowClanRoster(roster.entries);
  }
  void SetDirectoryChooser(TForm2* chooser) const { window_.SetDirectoryChooser(chooser); }

 private:
  static void DoubleClickRow(QTableWidget* list, int row) {
    list->setCurrentCell(row, 0);
    emit list->doubleClicked(list->model()->index(row, 0));
  }
  static void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
  }

  TForm1& window_;
};

}  // namespace testing_support
