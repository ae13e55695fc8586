// The main window as the session's tests stand it in: it records what the
// session shows and holds the setup panel's values (`panel`), which Type
// hands to the session as the window hands over an edit.
#pragma once
#include <QPoint>
#include <QStringList>
#include <vector>

#include "app/main_view.h"
#include "app/session.h"

namespace testing_support {

// The view's part: the panel holds `panel` (what the session showed, and
// what the user typed: Type hands it to the session as the window does),
// the rest is recorded as it is shown.
class FakeView : public app::MainView {
 public:
  void Type(app::Session& session) const { session.SettingsEdited(panel); }
  void ShowSettings(const app::Settings& settings) override {
    const int x = panel.xpos, y = panel.ypos;
    panel = settings;
    panel.xpos = x;
    panel.ypos = y;
  }
  void ShowSetup(bool visible) override { setupShown = visible; }
  void ShowKeyChoices(const QStringList& keys) override { keyChoices = keys; }
  void ShowSettingsFile(const QString&) override {}
  void MoveWindow(const QPoint& to) override { position = to; }
  void ShowLoggedIn(bool loggedIn) override { loggedInShown.push_back(loggedIn); }
  void ShowRosterHeadings() override {}
  void ClearClanRoster() override { roster.clear(); }
  void ShowClanRoster(const std::vector<presence::RosterEntry>& entries) override { roster = entries; }
  void ClearRefusedName() override {}
  void ShowGlobalNotice() override {}
  void ShowClanList(bool clan) override { clanListShown = clan; }
  void ShowUpdateIndicator(bool visible) override { indicatorShown += visible; }
  void PlacePanels() override {}
  void ShowPlayerCaption(const QString& caption) override { playerCaption = caption; }
  void ShowBookmarks(const QStringList& entries, const QString&) override { bookmarks = entries; }
  void ShowBookmarkHint(const QString&) override {}
  void ShowNewsWaiting(const QString& notice) override {
    newsNotice = notice;
    news = {notice};
  }
  void ShowNews(const QStringList& lines) override { news = lines; }
  bool TrayAvailable() const override { return false; }
  void ShowTrayState(bool loggedIn, const QString& player, int membersOnline) override {
    trayStates.push_back(QStringLiteral("%1 %2 %3").arg(loggedIn).arg(player).arg(membersOnline));
  }
  void Notify(const QString& text) override { notices.push_back(text); }
  void Minimize(bool intoTray) override { minimizedIntoTray = intoTray; }

  app::Settings panel;
  QPoint position{120, 80};
  bool setupShown = false;
  bool clanListShown = true;
  bool minimizedIntoTray = false;
  int indicatorShown = 0;
  QStringList keyChoices, bookmarks, news, trayStates;
  QString playerCaption, newsNotice;
  std::vector<bool> loggedInShown;
  std::vector<presence::RosterEntry> roster;
  std::vector<QString> notices;
};

}  // namespace testing_support
