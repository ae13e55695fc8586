#include "ui/server_hover.h"

#include <QCursor>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include "serverinfo/server_tool_tip.h"

ServerHover::ServerHover(serverinfo::ServerInfoCache& cache, GameIndex gameIndex, QObject* parent)
    : QObject(parent), cache_(cache), gameIndex_(std::move(gameIndex)) {
  connect(&cache_, &serverinfo::ServerInfoCache::Answered, this, [this](const QString& key) { Answered(key); });
}

void ServerHover::Watch(QWidget* widget, SpotAt spotAt) {
  watched_[widget] = std::move(spotAt);
  connect(widget, &QObject::destroyed, this, [this](QObject* gone) { watched_.erase(gone); });
  widget->installEventFilter(this);
}

std::optional<serverinfo::QueryTarget> ServerHover::TargetOf(const Spot& spot) const {
  return serverinfo::QueryTargetFor(spot.serverText, gameIndex_());
}

bool ServerHover::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  const auto found = watched_.find(watched);
  if (found == watched_.end()) return false;
  auto* help = static_cast<QHelpEvent*>(event);
  const Spot spot = found->second(help->pos());
  const std::optional<serverinfo::QueryTarget> target = TargetOf(spot);
  if (!target) return false;  // the widget's own hint
  const QString tip = serverinfo::ServerToolTip(cache_.Ask(*target), spot.heading);
  if (tip.isEmpty()) return false;  // nothing known, nothing asked
  auto* widget = static_cast<QWidget*>(watched);
  QToolTip::showText(help->globalPos(), tip, widget, spot.area);
  hovered_ = widget;
  hoveredKey_ = target->Key();
  return true;
}

// Shown again only while the mouse still rests on that server's row: the
// answer may come after the mouse has moved on.
void ServerHover::Answered(const QString& key) {
  if (!hovered_ || key != hoveredKey_ || !hovered_->isVisible()) return;
  const auto found = watched_.find(hovered_.data());
  if (found == watched_.end()) return;
  const QPoint global = QCursor::pos();
  const QPoint local = hovered_->mapFromGlobal(global);
  if (!hovered_->rect().contains(local)) return;
  const Spot spot = found->second(local);
  const std::optional<serverinfo::QueryTarget> target = TargetOf(spot);
  if (!target || target->Key() != key) return;
  QToolTip::showText(global, serverinfo::ServerToolTip(cache_.Peek(*target), spot.heading), hovered_, spot.area);
}
