#include "roster_answer.h"

#include "report_text.h"
#include "report_time.h"

namespace clan {

std::string AnswerRecord(const Member& member) {
  const ReportTime when = FormatReportTime(member.reported);
  std::string out;
  for (const std::string& line : {member.name, OnlineText(member.server), when.date, when.time}) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string RosterAnswer(const std::vector<Member>& members) {
  std::string out;
  for (const Member& member : members) out += AnswerRecord(member);
  return out;
}

}  // namespace clan
