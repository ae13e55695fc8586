// The live info of a game server as the tooltip of what the mouse rests on:
// a roster row or a bookmark whose server text is an address. Each watched
// widget comes with a function that names the server under a point. Where
// that text is no address, or the cache knows nothing and asks nothing
// (idle), the widget's own hint shows as before. When the answer for the
// server still under the mouse arrives, the tooltip shows again with it.
// Nothing here blocks or runs a nested event loop.
#pragma once
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <optional>

#include "serverinfo/query_target.h"
#include "serverinfo/server_info_cache.h"

class QWidget;

class ServerHover : public QObject {
  Q_OBJECT

 public:
  // The server under a point of a watched widget: its text as a row or
  // bookmark holds it, the area the tooltip belongs to (in the widget's
  // coordinates), and an optional first line above the info.
  struct Spot {
    QString serverText;
    QRect area;
    QString heading;
  };
  using SpotAt = std::function<Spot(const QPoint& local)>;
  // The game list's index of the game played (it picks the query protocol).
  using GameIndex = std::function<int()>;

  ServerHover(serverinfo::ServerInfoCache& cache, GameIndex gameIndex, QObject* parent = nullptr);

  // Shows the info over `widget` (for a list, its viewport) from now on.
  void Watch(QWidget* widget, SpotAt spotAt);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<serverinfo::QueryTarget> TargetOf(const Spot& spot) const;
  void Answered(const QString& key);

  serverinfo::ServerInfoCache& cache_;
  GameIndex gameIndex_;
  std::map<QObject*, SpotAt> watched_;
  QPointer<QWidget> hovered_;  // where the last server tooltip was shown
  QString hoveredKey_;         // and for which server
};
