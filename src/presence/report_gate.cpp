#include "presence/report_gate.h"

#include "presence/location_rule.h"

namespace presence {

ReportGate DecideReportSending(const QString& name) {
  const bool missing = name == QStringLiteral("?");
  return {missing, !missing && !name.isEmpty() && !IsPlaceholderPlayerName(name)};
}

}  // namespace presence
