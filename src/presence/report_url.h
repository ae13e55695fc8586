// The request URL of one presence report:
//   script URL + "?name=" + name + "&ip=Zephanor!&server=" + server
//   + "&map=" + map + "&pass=" + password + "&quickview=on"
//   [+ "&globalpost=on" when `master`: the report to the master server]
// The script URL goes in verbatim. The four values are percent-encoded from
// their Windows-1252 bytes (everything except A-Z a-z 0-9 - . _ ~), so a
// script decodes them to exactly those bytes, and a name or password holding
// "&", "=", "?", "#", a blank or an umlaut can't break up or add parameters.
#pragma once
#include <QByteArray>
#include <QString>

#include "presence/player_location.h"

namespace presence {

QByteArray BuildReportUrl(const QString& scriptUrl, const PlayerLocation& location,
                          const QString& password, bool master);

// The Windows-1252 bytes of `value`, percent-encoded as above ("%3C" style).
QByteArray PercentEncodeCp1252(const QString& value);

}  // namespace presence
