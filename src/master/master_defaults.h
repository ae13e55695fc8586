// Which masters a game's list comes from: the built-in community masters,
// the user's own in quavik.ini ([Masters] UT=, TO=, UT2003=, UT2004=, each
// "host:port,host:port"), or those named on the command line, which
// replace both.
#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "master/listed_game.h"
#include "master/ut2004_credentials.h"

namespace master {

struct MasterHostPort {
  QString host;  // a name or a numeric address (IPv6 without brackets)
  quint16 port = 0;

  QString Text() const;  // "host:port", "[v6]:port"
  bool operator==(const MasterHostPort& other) const = default;
};

// "host:port" or "[v6]:port", blanks around it ignored; port 1..65535.
std::optional<MasterHostPort> ParseMasterHostPort(const QString& text);

struct ParsedMasterList {
  QList<MasterHostPort> masters;  // in the order written, each once
  QStringList unusable;          // the items that are no master address
};
// "host:port,host:port"; empty items (",,", a trailing comma) are skipped.
ParsedMasterList ParseMasterList(const QString& text);

// The community masters in use today; none for UT 2003.
QList<MasterHostPort> BuiltInMasters(Game game);

// The key of `game` in the [Masters] section.
QString MastersIniKey(Game game);

struct ChosenMasters {
  QList<MasterHostPort> masters;
  QStringList warnings;  // for standard error: what of the user's setting was not used
};
// `commandLine` (when not empty) wins; then a usable `iniValue` (nullopt when
// the key is missing); then the built-in masters. An INI value of which no
// item is usable falls back to the built-in masters, with a warning.
ChosenMasters ChooseMasters(Game game, const QList<MasterHostPort>& commandLine,
                            const std::optional<QString>& iniValue);

// The [Masters] value of `game` in the INI file at `iniPath`; nullopt when
// the file or key is missing or the value is blank.
std::optional<QString> ReadMastersSetting(const QString& iniPath, Game game);

// What the UT 2004 master is shown of a CD key: the hash the user wrote into
// [Masters] UT2004KeyHash= (32 hex digits) when there is a usable one, the
// placeholder otherwise. The game's own key is never read. An unusable value
// adds a line to `warnings`.
Ut2004Credentials ReadUt2004Credentials(const QString& iniPath, QStringList* warnings);

}  // namespace master
