#include "presence/browse_location.h"

#include "presence/browse_url.h"
#include "presence/location_rule.h"

namespace presence {
namespace {

// "ONS-Torlan" out of "Log: Bringing Level ONS-Torlan.myLevel up for play (90) ...".
std::string_view MapOfLevelUp(std::string_view line) {
  std::string_view rest = line.substr(kLevelUpPrefix.size());
  size_t end = rest.find(".myLevel");
  if (end == std::string_view::npos) end = rest.find(" up for play");
  return rest.substr(0, end);
}

}  // namespace

PlayerLocation LocationFromBrowse(std::string_view browse, const std::optional<std::string>& levelUp,
                                  bool offline, const std::function<QString()>& playerName,
                                  platform::TextEncoding encoding) {
  const BrowseUrl url = ParseBrowseUrl(browse.substr(kBrowsePrefix.size()));
  const std::optional<std::string_view> name = BrowseOption(url.options, "Name");
  PlayerLocation location{name ? platform::Decode(*name, encoding) : playerName(),
                          platform::Decode(url.host, encoding),
                          levelUp ? platform::Decode(MapOfLevelUp(*levelUp), encoding) : QString()};
  const bool failed = BrowseOption(url.options, "failed").has_value();
  const bool onServer = !url.host.empty() && !failed && levelUp.has_value();
  SettleState(location, !onServer, offline, playerName);
  return location;
}

PlayerLocation LocationFromFinding(const LogFinding& finding, bool offline,
                                   const std::function<QString()>& playerName) {
  const std::string& last = *finding.last;
  const auto encoding = finding.utf8 ? platform::TextEncoding::Utf8 : platform::TextEncoding::Cp1252;
  if (last.starts_with(kBrowsePrefix)) {
    return LocationFromBrowse(last, finding.levelUp, offline, playerName, encoding);
  }
  return LocationFromLogLine(last, offline, playerName, encoding);
}

}  // namespace presence
