#include "presence/report_url.h"

#include "platform/text/cp1252.h"

namespace presence {

QByteArray PercentEncodeCp1252(const QString& value) {
  const std::string bytes = platform::ToCp1252(value);
  return QByteArray(bytes.data(), qsizetype(bytes.size())).toPercentEncoding("", "", '%');
}

QByteArray BuildReportUrl(const QString& scriptUrl, const PlayerLocation& location,
                          const QString& password, bool master) {
  const std::string url = platform::ToCp1252(scriptUrl);
  QByteArray result(url.data(), qsizetype(url.size()));
  result += "?name=" + PercentEncodeCp1252(location.name);
  result += "&ip=Zephanor!&server=" + PercentEncodeCp1252(location.server);
  result += "&map=" + PercentEncodeCp1252(location.map);
  result += "&pass=" + PercentEncodeCp1252(password);
  result += "&quickview=on";
  if (master) result += "&globalpost=on";
  return result;
}

}  // namespace presence
