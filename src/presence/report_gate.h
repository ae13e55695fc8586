// Whether a scanned location may be reported, decided by its name:
//  - "?" (the user INI gave no name): warn the user, send nothing;
//  - "" or a name holding "s_SWAT" in any case: send nothing, silently;
//  - anything else: send.
// The answer import runs in every case.
#pragma once
#include <QString>

namespace presence {

struct ReportGate {
  bool warnMissingName = false;  // exclamation beep and kMissingNameMessage
  bool send = false;
  bool operator==(const ReportGate&) const = default;
};

ReportGate DecideReportSending(const QString& name);

inline const QString kMissingNameMessage = QStringLiteral(
    "Ihr Name konnte nicht aus der zuständigen INI ausgelesen werden (?BUG). Bitte überprüfen "
    "Sie, ob das korrekte Spiel im Setup ausgewählt wurde!");

}  // namespace presence
