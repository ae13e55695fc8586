#include "presence/roster_status.h"

namespace presence {
namespace {

QString WithoutMarks(const QString& place) {
  QString text = place.trimmed();
  text.remove(QStringLiteral("<i>"), Qt::CaseInsensitive);
  text.remove(QStringLiteral("</i>"), Qt::CaseInsensitive);
  return text.trimmed();
}

bool IsOffline(const QString& bare) { return bare.compare(QStringLiteral("offline"), Qt::CaseInsensitive) == 0; }

}  // namespace

QString ServerOf(const RosterEntry& entry) {
  const QString bare = WithoutMarks(entry.onlineOn);
  if (IsOffline(bare) || bare.compare(QStringLiteral("Sucht Server..."), Qt::CaseInsensitive) == 0) return QString();
  return bare;
}

int MembersOnline(const std::vector<RosterEntry>& roster) {
  if (IsRefusedRoster(roster)) return 0;
  int count = 0;
  for (const RosterEntry& entry : roster)
    if (!entry.name.trimmed().isEmpty() && !IsOffline(WithoutMarks(entry.onlineOn))) ++count;
  return count;
}

bool IsRefusedRoster(const std::vector<RosterEntry>& roster) {
  return !roster.empty() && roster.front().name == kAuthFailed;
}

}  // namespace presence
