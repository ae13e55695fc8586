// "Server-Info...": a small tool window, black like the directory chooser,
// with one game server's live info from the server info cache: its name,
// address, map, game type, players ("11/13"), ping, and the players with
// score and ping, highest score first, under a line that says how old the
// info is and one that says why "Aktualisieren" is not possible yet.
// Whatever the server sends is shown as plain text, never as markup.
//
// "Aktualisieren" asks the cache again; it is enabled only while the cache
// would query the server (not before the refresh time is over, not while a
// query runs, not while idle). "Beitreten" emits JoinRequested with the
// server text the panel was opened for, for the window to start the game
// as a double click on the row does. While shown, the panel follows the
// cache's answers and, once a second, the info's age. Nothing here runs a
// nested event loop.
#pragma once
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "serverinfo/query_target.h"
#include "serverinfo/server_info_cache.h"

class ServerInfoPanel : public QDialog {
  Q_OBJECT

 public:
  explicit ServerInfoPanel(serverinfo::ServerInfoCache& cache, QWidget* parent = nullptr);

  // Shows the server that `serverText` (a roster row's or a bookmark's)
  // names, asking the cache for it.
  void ShowServer(const QString& serverText, const serverinfo::QueryTarget& target);
  const QString& ServerText() const { return serverText_; }

  QLabel* serverName = nullptr;
  QLabel* addressValue = nullptr;
  QLabel* mapValue = nullptr;
  QLabel* gameTypeValue = nullptr;
  QLabel* playersValue = nullptr;
  QLabel* pingValue = nullptr;
  QTableWidget* playerTable = nullptr;
  QLabel* status = nullptr;
  QLabel* refreshNote = nullptr;
  QPushButton* refreshButton = nullptr;
  QPushButton* joinButton = nullptr;

 signals:
  void JoinRequested(const QString& serverText);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void RefreshClick();
  void JoinClick();
  void CacheAnswered(const QString& key);
  void ShowLookup(const serverinfo::ServerLookup& lookup);
  void ShowPlayers(const query::ServerInfo* info);

  serverinfo::ServerInfoCache& cache_;
  serverinfo::QueryTarget target_;
  QString serverText_;
  QTimer ticker_;
};
