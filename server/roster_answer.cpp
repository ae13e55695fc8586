#include "roster_answer.h"

#include "report_text.h"
#include "report_time.h"

namespace clan {

std::string RosterAnswer(const std::vector<Member>& members) {
  std::string out;
  for (const Member& member : members) {
    const ReportTime when = FormatReportTime(member.reported);
    for (const std::string& line : {member.name, OnlineText(member.server), when.date, when.time}) {
      out += line;
      out += "\r\n";
    }
  }
  return out;
}

}  // namespace clan
