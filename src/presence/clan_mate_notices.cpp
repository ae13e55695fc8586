#include "presence/clan_mate_notices.h"

#include <QHash>
#include <QSet>

#include "presence/roster_status.h"

namespace presence {
namespace {

QString Key(const QString& name) { return name.trimmed().toCaseFolded(); }

}  // namespace

std::vector<QString> ClanMateNotices(const std::vector<RosterEntry>& previous,
                                     const std::vector<RosterEntry>& current, const QString& ownName,
                                     bool firstAfterLogin) {
  std::vector<QString> notices;
  if (firstAfterLogin || IsRefusedRoster(current)) return notices;
  // Where each member of the previous roster was, at his first row: one
  // look-up per member instead of a pass over a roster of thousands.
  QHash<QString, QString> before;
  before.reserve(qsizetype(previous.size()));
  for (const RosterEntry& old : previous) {
    const QString key = Key(old.name);
    if (!before.contains(key)) before.insert(key, ServerOf(old));
  }
  const QString own = Key(ownName);
  QSet<QString> seen;
  for (const RosterEntry& entry : current) {
    const QString key = Key(entry.name);
    if (key.isEmpty() || seen.contains(key)) continue;
    seen.insert(key);
    const QString server = ServerOf(entry);
    if (key == own || server.isEmpty()) continue;
    const QString was = before.value(key);
    const QString name = entry.name.trimmed();
    if (was.isEmpty())
      notices.push_back(name + QStringLiteral(" ist online: ") + server);
    else if (was != server)
      notices.push_back(name + QStringLiteral(" spielt jetzt auf ") + server);
  }
  return notices;
}

void ClanMateWatch::LoginShown(bool loggedIn) {
  if (loggedIn && !loggedIn_) firstAfterLogin_ = true;
  loggedIn_ = loggedIn;
}

std::vector<QString> ClanMateWatch::RosterShown(const std::vector<RosterEntry>& roster, const QString& ownName,
                                                bool loggedIn) {
  std::vector<QString> notices = ClanMateNotices(shown_, roster, ownName, firstAfterLogin_ || !loggedIn);
  if (loggedIn) firstAfterLogin_ = false;
  shown_ = roster;
  return notices;
}

}  // namespace presence
