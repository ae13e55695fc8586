// Small rules of start-up and shutdown that need no window.
#pragma once
#include <QString>
#include <QStringList>

namespace app {

inline const QString kApplicationTitle = QStringLiteral("Quavik RC5");
inline const QString kVersionText = QStringLiteral("RC5");
inline const QString kSettingsFileName = QStringLiteral("quavik.ini");
inline const QString kActivityLogFileName = QStringLiteral("quavik.log");
inline const QString kAnswerFileName = QStringLiteral("zephanor.tmp");
inline const QString kWorkingCopyFileName = QStringLiteral("TacticalOps.sik");
inline const QString kStartupLogLine = QStringLiteral("-| ZEPHANOR STARTUP |----------------------");

// Logging is on when the first argument is "LOG" in any letter case.
bool IsLogSwitch(const QStringList& arguments);

// The setup is incomplete while the clan script URL, its password or the
// game directory is empty.
bool IsSetupIncomplete(const QString& scriptUrl, const QString& pass, const QString& gameDir);

QString FirstStartMessage();
QString CloseQuestion();

}  // namespace app
