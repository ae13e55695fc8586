// The game's favourite servers, offered as bookmarks to start the game onto.
// They live in the game INI, section "UBrowser.UBrowserFavoritesFact", keys
// "Favorites[0]" to "Favorites[99]" (all hundred are read, gaps skipped);
// each value is display name "\" address "\" further fields. The program
// only reads them.
#pragma once
#include <QString>
#include <QStringList>

#include "platform/os/activity_log.h"

namespace game {

struct Favorite {
  QString name;
  QString address;
  bool operator==(const Favorite&) const = default;
};

// Name = text before the first backslash; address = text up to the next
// backslash within the 40 characters after the first one. Either is ""
// when its backslash is missing.
Favorite SplitFavorite(const QString& value);

struct ServerBookmarks {
  // The drop-down entries: "" (no server) first, then the names in key
  // order. Empty, without even the "" entry, when the game INI is missing.
  QStringList entries;
  // addresses[i - 1] belongs to entries[i].
  QStringList addresses;
};

// Between the "Lese Server-Bookmarks aus INI" START and END lines.
ServerBookmarks ReadServerBookmarks(const QString& gameIniPath, const platform::ActivityLog& log);

// Tool tip for the entry at `index`: "Kein Server gewählt..." for the empty
// entry or no selection, otherwise name + " mit Server-IP " + address.
QString BookmarkHint(const ServerBookmarks& bookmarks, int index);

// Server text to start the game with for the entry at `index`: "" (the
// entry map) for the empty entry or no selection, otherwise its address.
QString BookmarkServerText(const ServerBookmarks& bookmarks, int index);

}  // namespace game
