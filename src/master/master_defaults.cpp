#include "master/master_defaults.h"

#include "platform/os/ini_file.h"

namespace master {

QString MasterHostPort::Text() const {
  if (host.contains(':')) return QStringLiteral("[%1]:%2").arg(host).arg(port);
  return QStringLiteral("%1:%2").arg(host).arg(port);
}

std::optional<MasterHostPort> ParseMasterHostPort(const QString& text) {
  const QString item = text.trimmed();
  QString host, port;
  if (item.startsWith('[')) {
    const qsizetype close = item.indexOf(']');
    if (close < 0 || item.mid(close + 1, 1) != QLatin1String(":")) return std::nullopt;
    host = item.mid(1, close - 1);
    port = item.mid(close + 2);
    if (!host.contains(':')) return std::nullopt;
  } else {
    const qsizetype colon = item.lastIndexOf(':');
    if (colon < 0 || item.count(':') != 1) return std::nullopt;
    host = item.left(colon);
    port = item.mid(colon + 1);
  }
  if (host.isEmpty()) return std::nullopt;
  for (const QChar c : host) {
    const bool allowed = c.isLetterOrNumber() || c == '.' || c == '-' || c == '_' || c == ':';
    if (!allowed || c.unicode() > 0x7F) return std::nullopt;
  }
  bool ok = false;
  const uint number = port.toUInt(&ok);
  if (!ok || number < 1 || number > 65535 || port.startsWith('+')) return std::nullopt;
  return MasterHostPort{host.toLower(), quint16(number)};
}

ParsedMasterList ParseMasterList(const QString& text) {
  ParsedMasterList parsed;
  for (const QString& item : text.split(',')) {
    if (item.trimmed().isEmpty()) continue;
    const std::optional<MasterHostPort> address = ParseMasterHostPort(item);
    if (!address) parsed.unusable.append(item.trimmed());
    else if (!parsed.masters.contains(*address)) parsed.masters.append(*address);
  }
  return parsed;
}

QList<MasterHostPort> BuiltInMasters(Game game) {
  switch (game) {
    // The GameSpy-protocol masters the UT community keeps running since
    // GameSpy closed; they list Tactical Ops servers too.
    case Game::UT:
    case Game::TacticalOps:
      return {{"master.333networks.com", 28900},
              {"master.oldunreal.com", 28900},
              {"master.errorist.eu", 28900},
              {"master.openspy.net", 28900}};
    // The UT 2004 protocol's masters since Epic's closed in January 2023.
    case Game::UT2004:
      return {{"ut2004master.333networks.com", 28902},
              {"ut2004master.errorist.eu", 28902},
              {"utmaster.openspy.net", 28902}};
    case Game::UT2003: return {};
  }
  return {};
}

QString MastersIniKey(Game game) {
  switch (game) {
    case Game::UT: return QStringLiteral("UT");
    case Game::TacticalOps: return QStringLiteral("TO");
    case Game::UT2003: return QStringLiteral("UT2003");
    case Game::UT2004: return QStringLiteral("UT2004");
  }
  return {};
}

ChosenMasters ChooseMasters(Game game, const QList<MasterHostPort>& commandLine,
                            const std::optional<QString>& iniValue) {
  if (!commandLine.isEmpty()) return {commandLine, {}};
  ChosenMasters chosen;
  if (iniValue) {
    const ParsedMasterList parsed = ParseMasterList(*iniValue);
    const QString key = QStringLiteral("[Masters] %1=").arg(MastersIniKey(game));
    for (const QString& item : parsed.unusable)
      chosen.warnings.append(QStringLiteral("%1: \"%2\" is no host:port, left out").arg(key, item));
    if (!parsed.masters.isEmpty()) {
      chosen.masters = parsed.masters;
      return chosen;
    }
    if (!parsed.unusable.isEmpty())
      chosen.warnings.append(QStringLiteral("%1 names no usable master: the built-in ones are asked").arg(key));
  }
  chosen.masters = BuiltInMasters(game);
  return chosen;
}

std::optional<QString> ReadMastersSetting(const QString& iniPath, Game game) {
  const QString value = platform::IniReadString(iniPath, QStringLiteral("Masters"), MastersIniKey(game), {});
  if (value.trimmed().isEmpty()) return std::nullopt;
  return value;
}

Ut2004Credentials ReadUt2004Credentials(const QString& iniPath, QStringList* warnings) {
  const QString hash = platform::IniReadString(iniPath, QStringLiteral("Masters"), QStringLiteral("UT2004KeyHash"), {});
  if (hash.trimmed().isEmpty()) return Ut2004Credentials::Placeholder();
  QString why;
  if (std::optional<Ut2004Credentials> own = Ut2004Credentials::FromKeyHash(hash.trimmed(), &why)) return *own;
  if (warnings) {
    warnings->append(QStringLiteral("[Masters] UT2004KeyHash of %1 is not 32 hex digits; the placeholder key is shown")
                         .arg(iniPath));
  }
  return Ut2004Credentials::Placeholder();
}

}  // namespace master
