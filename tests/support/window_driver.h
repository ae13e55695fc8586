// Drives the main window as a user does: clicks on its image buttons by the
// hint they show ("Anmelden", "Programmsetup"), double clicks on roster rows,
// choices in its lists, items of the title strip's and the rows' menus, the
// mouse resting on a row or a bookmark; and reads what it
// shows through its controls, found by their design names (the objectName
// each control carries). Tests reach the window only through this driver;
// what the window's session does is reached through session().
#pragma once
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <stdexcept>
#include <string>

#include "app/session.h"
#include "serverinfo/server_info_cache.h"
#include "ui/image_control.h"
#include "ui/main_window.h"
#include "ui/server_info_panel.h"
#include "ui/tray_icon.h"

namespace testing_support {

class WindowDriver {
 public:
  explicit WindowDriver(MainWindow& window) : window_(window) {}

  QWidget& window() const { return window_; }
  app::Session& session() const { return window_.session(); }
  // The window as the session sees it.
  app::MainView& view() const { return window_; }
  // The panels the window builds when first shown, built now (hidden).
  void BuildAllPanels() const { window_.BuildAllPanels(); }

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
  void ChooseMenuItem(const QString& text) const { Trigger(Menu(), text); }
  // A right click on `row` of a roster list (ClanList(), GlobalList()).
  void RightClickRow(QTableWidget* list, int row) const {
    emit list->customContextMenuRequested(list->visualRect(list->model()->index(row, 0)).center());
  }
  // The item with this text of the menu a right click on a row opened.
  void ChooseRowMenuItem(const QString& text) const { Trigger(RowMenu(), text); }
  // The mouse comes to rest on `row` of a roster list: the cursor is put
  // there and the list gets the tooltip request that resting sends.
  void HoverRow(QTableWidget* list, int row) const {
    Hover(list->viewport(), list->visualRect(list->model()->index(row, 1)).center());
  }
  // The mouse comes to rest on the (closed) bookmark list.
  void HoverBookmarkList() const { Hover(Choice("serverliste"), Choice("serverliste")->rect().center()); }
  // The bookmark list is opened and the mouse rests on the entry at `index`.
  void HoverBookmarkEntry(int index) const {
    QComboBox* list = Choice("serverliste");
    list->showPopup();
    QAbstractItemView* entries = list->view();
    Hover(entries->viewport(), entries->visualRect(entries->model()->index(index, 0)).center());
  }
  // Moves the cursor off the window (the mouse left what it rested on).
  void MoveMouseAway() const { QCursor::setPos(window_.mapToGlobal(QPoint(-200, -200))); }
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
    if (!control) {
      // Perhaps on a panel the window builds when it is first shown.
      window_.BuildAllPanels();
      control = window_.findChild<T*>(QString::fromLatin1(name));
    }
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
  QMenu* RowMenu() const { return Control<QMenu>("RowPop"); }
  serverinfo::ServerInfoCache& ServerInfo() const { return window_.serverInfo(); }
  // The "Server-Info..." panel; none before it was first opened.
  ServerInfoPanel* InfoPanel() const { return window_.findChild<ServerInfoPanel*>("ServerInfo"); }

  // ---- what the window shows ----
  // Rows of the clan list in use, the heading included.
  int ClanRowsInUse() const { return window_.RosterRowsInUse(); }
  // Shows `roster` in the clan list as an import does.
  void ShowClanRoster(const presence::ClanRoster& roster) const {
    window_.ClearClanRoster();
    window_.ShowClanRoster(roster.entries);
  }
  void SetDirectoryChooser(DirectoryChooser* chooser) const { window_.SetDirectoryChooser(chooser); }
  // The tooltip shown now as its reader sees it; empty when none is shown.
  static QString ToolTipShown() {
    if (!QToolTip::isVisible()) return {};
    QTextDocument shown;
    shown.setHtml(QToolTip::text());
    return shown.toPlainText();
  }

 private:
  static void DoubleClickRow(QTableWidget* list, int row) {
    list->setCurrentCell(row, 0);
    emit list->doubleClicked(list->model()->index(row, 0));
  }
  static void Trigger(QMenu* menu, const QString& text) {
    for (QAction* item : menu->actions()) {
      if (item->text() == text) {
        item->trigger();
        return;
      }
    }
    throw std::runtime_error("no menu item " + text.toStdString());
  }
  static void Hover(QWidget* widget, const QPoint& at) {
    const QPoint global = widget->mapToGlobal(at);
    QCursor::setPos(global);
    QHelpEvent rest(QEvent::ToolTip, at, global);
    QApplication::sendEvent(widget, &rest);
  }
  static void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
  }

  MainWindow& window_;
};

}  // namespace testing_support
