#include "presence/roster.h"

#include "platform/cp1252.h"
#include "platform/text_file.h"

namespace presence {

ClanRoster ParseClanAnswer(std::string_view answerBytes, const platform::ActivityLog& log) {
  const std::vector<std::string> lines = platform::SplitTextLines(answerBytes);
  size_t next = 0;
  const auto readLine = [&]() -> QString {
    return next < lines.size() ? platform::FromCp1252(lines[next++]) : QString();
  };

  ClanRoster roster;
  roster.summary = QStringLiteral("Quavik meldet: ");
  do {
    log.Start(QStringLiteral("Importiere in Clangrid: readln"));
    RosterEntry entry;
    entry.name = readLine();
    entry.onlineOn = readLine();
    entry.timestampPart1 = readLine();
    entry.timestampPart2 = readLine();
    roster.summary += entry.name + QStringLiteral(" (") + entry.onlineOn + QStringLiteral(") ");
    roster.entries.push_back(std::move(entry));
  } while (next < lines.size());
  return roster;
}

bool MasterAnswerRefused(std::string_view answerBytes) {
  const std::vector<std::string> lines = platform::SplitTextLines(answerBytes);
  return !lines.empty() && lines.front() == "AUTH_FAILED!";
}

}  // namespace presence
