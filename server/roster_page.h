// The roster as an HTML page for a browser (the clan's website can link to
// it): a table of name, where the member is online, map and the time of the
// last report. Every value is converted from Windows-1252 and HTML-escaped;
// the page is UTF-8 and says so. A value of any length (a name of 256 letters
// without a blank) wraps within its cell, so the table never grows wider than
// the browser's window.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "roster_store.h"

namespace clan {

inline constexpr std::string_view kPageContentType = "text/html; charset=utf-8";

enum class RosterKind { kClan, kMaster };

std::string RosterPage(const std::vector<Member>& members, RosterKind kind);

// Escapes &, <, >, " and ' for HTML text and attribute values.
std::string HtmlEscape(std::string_view text);

}  // namespace clan
