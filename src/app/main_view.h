// The main window as the session sees it: what it shows, and whether the
// desktop has a tray. The session decides and holds the settings in use; the
// view draws, and hands each edit of the setup panel and each move of the
// window to the session as it is made (Session::SettingsEdited,
// Session::WindowMoved), so nothing here reads a control. Nothing here runs
// a nested event loop.
#pragma once
#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

#include "app/settings.h"
#include "presence/roster.h"

namespace app {

class MainView {
 public:
  virtual ~MainView() = default;

  // ---- the setup panel and the window's place ----
  // The panel shows `settings`; showing them is no edit.
  virtual void ShowSettings(const Settings& settings) = 0;
  virtual void ShowSetup(bool visible) = 0;
  // The choices of the three key lists, none chosen.
  virtual void ShowKeyChoices(const QStringList& keys) = 0;
  virtual void ShowSettingsFile(const QString& path) = 0;
  virtual void MoveWindow(const QPoint& position) = 0;

  // ---- login state and the roster lists ----
  // The login and logout buttons and the reload button for this state.
  virtual void ShowLoggedIn(bool loggedIn) = 0;
  virtual void ShowRosterHeadings() = 0;
  virtual void ClearClanRoster() = 0;
  virtual void ShowClanRoster(const std::vector<presence::RosterEntry>& entries) = 0;
  // Empties the refused first name, leaving the rest of the list.
  virtual void ClearRefusedName() = 0;
  // Empties the global list (as many rows as the clan list last used) and
  // puts its notice in.
  virtual void ShowGlobalNotice() = 0;
  // The clan list, or the global one.
  virtual void ShowClanList(bool clan) = 0;
  virtual void ShowUpdateIndicator(bool visible) = 0;
  virtual void PlacePanels() = 0;
  virtual void ShowPlayerCaption(const QString& caption) = 0;

  // ---- bookmarks, news, tray ----
  // The bookmark list with its first entry chosen, and that entry's hint.
  virtual void ShowBookmarks(const QStringList& entries, const QString& hint) = 0;
  virtual void ShowBookmarkHint(const QString& hint) = 0;
  // The news panel opened with `notice` while the news are fetched.
  virtual void ShowNewsWaiting(const QString& notice) = 0;
  virtual void ShowNews(const QStringList& lines) = 0;
  virtual bool TrayAvailable() const = 0;
  virtual void ShowTrayState(bool loggedIn, const QString& player, int membersOnline) = 0;
  virtual void Notify(const QString& text) = 0;
  // To the task bar, or into the tray.
  virtual void Minimize(bool intoTray) = 0;
};

}  // namespace app
