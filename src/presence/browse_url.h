// The URL of an Unreal Engine 2 "Log: Browse: " line, cut into its parts on
// raw bytes: "203.0.113.7:7777/DM-Next?Name=Kim?closed" has the host
// "203.0.113.7:7777" and the options "Name=Kim" and "closed".
//
// The host is the text before the first "/" of the part before the first
// "?". A URL without "/" (a local map "DM-Flux2", the menu's "Index.ut2") has
// none, and neither has a web link ("https://host/..."): a host is never
// empty and never ends in ":".
#pragma once
#include <optional>
#include <string_view>

namespace presence {

struct BrowseUrl {
  std::string_view host;     // empty when the URL names no server
  std::string_view options;  // the text after the first "?", "" when none
};

// `url` is the text after the "Log: Browse: " prefix.
BrowseUrl ParseBrowseUrl(std::string_view url);

// The value of the first "?"-separated option named `name` (in any letter
// case) in `options`: "" for a bare option ("closed"), nullopt when there is
// no such option.
std::optional<std::string_view> BrowseOption(std::string_view options, std::string_view name);

}  // namespace presence
