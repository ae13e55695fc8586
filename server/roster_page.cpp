#include "roster_page.h"

#include "report_text.h"
#include "report_time.h"
#include "win1252.h"

namespace clan {
namespace {

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="utf-8">
<meta http-equiv="refresh" content="60">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{TITLE}</title>
<style>
body { font-family: Verdana, Arial, sans-serif; background: #E1EFFF; color: #217AD0; margin: 2em; }
table { border-collapse: collapse; }
th { background: #A9D4FF; text-align: left; }
th, td { padding: 0.25em 1em; }
td { overflow-wrap: anywhere; max-width: 20em; }
td:last-child { overflow-wrap: normal; }
@media (max-width: 30em) { body { margin: 0.5em; } th, td { padding: 0.25em 0.4em; } }
tr:nth-child(even) td { background: #F0F7FF; }
</style>
</head>
<body>
<h1>{TITLE}</h1>
)";

std::string Cell(std::string_view win1252) {
  return "<td>" + HtmlEscape(Win1252ToUtf8(win1252)) + "</td>";
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string RosterPage(const std::vector<Member>& members, RosterKind kind) {
  const std::string title = kind == RosterKind::kClan ? "Registrierte Onlinespieler"
                                                      : "Registrierte Onlinespieler (Masterserver)";
  std::string out(kHead);
  for (size_t at = out.find("{TITLE}"); at != std::string::npos; at = out.find("{TITLE}")) {
    out.replace(at, 7, title);
  }
  if (members.empty()) return out + "<p>Zurzeit ist niemand online.</p>\n</body>\n</html>\n";

  out += "<table>\n<tr><th>Spielername</th><th>Online auf</th><th>Karte</th>"
         "<th>Letzte Meldung</th></tr>\n";
  for (const Member& member : members) {
    const ReportTime when = FormatReportTime(member.reported);
    out += "<tr>" + Cell(member.name) + Cell(OnlineText(member.server)) +
           Cell(OnlineText(member.map)) + Cell(when.date + " " + when.time) + "</tr>\n";
  }
  return out + "</table>\n</body>\n</html>\n";
}

}  // namespace clan
