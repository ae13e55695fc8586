#include "game/server_bookmarks.h"

#include "platform/os/file_ops.h"
#include "platform/os/ini_file.h"
#include "platform/text/substring.h"

namespace game {

using platform::Copy;
using platform::Pos;

Favorite SplitFavorite(const QString& value) {
  const QString backslash = QStringLiteral("\\");
  const qsizetype p = Pos(backslash, value);
  const QString rest = Copy(value, p + 1, 40);
  return {Copy(value, 1, p - 1), Copy(rest, 1, Pos(backslash, rest) - 1)};
}

ServerBookmarks ReadServerBookmarks(const QString& gameIniPath, const platform::ActivityLog& log) {
  platform::ActivityScope scope(log, QStringLiteral("Lese Server-Bookmarks aus INI"));
  ServerBookmarks bookmarks;
  if (!platform::FileExists(gameIniPath)) return bookmarks;
  bookmarks.entries.append(QString());
  for (int n = 0; n < 100; ++n) {
    const QString value = platform::IniReadString(
        gameIniPath, QStringLiteral("UBrowser.UBrowserFavoritesFact"),
        QStringLiteral("Favorites[%1]").arg(n), QString());
    if (value.isEmpty()) continue;
    const Favorite favorite = SplitFavorite(value);
    bookmarks.addresses.append(favorite.address);
    bookmarks.entries.append(favorite.name);
  }
  return bookmarks;
}

namespace {
bool IsBookmark(const ServerBookmarks& bookmarks, int index) {
  return index >= 1 && index < bookmarks.entries.size() && index - 1 < bookmarks.addresses.size();
}
}  // namespace

QString BookmarkHint(const ServerBookmarks& bookmarks, int index) {
  if (!IsBookmark(bookmarks, index)) return QStringLiteral("Kein Server gewählt...");
  return bookmarks.entries[index] + QStringLiteral(" mit Server-IP ") + bookmarks.addresses[index - 1];
}

QString BookmarkServerText(const ServerBookmarks& bookmarks, int index) {
  return IsBookmark(bookmarks, index) ? bookmarks.addresses[index - 1] : QString();
}

}  // namespace game
