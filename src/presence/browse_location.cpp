#include "presence/browse_location.h"

#include <QStringList>
#include <vector>

#include "platform/cp1252.h"
#include "presence/location_rule.h"

namespace presence {
namespace {

struct Option {
  QString key;
  std::optional<QString> value;
};

// The "?"-separated options of a URL, "key=value" or a bare "key".
std::vector<Option> SplitOptions(std::string_view options) {
  std::vector<Option> result;
  for (const QString& part : platform::FromCp1252(options).split(QLatin1Char('?'))) {
    const qsizetype equals = part.indexOf(QLatin1Char('='));
    if (equals < 0) {
      result.push_back({part, std::nullopt});
    } else {
      result.push_back({part.left(equals), part.mid(equals + 1)});
    }
  }
  return result;
}

// "ONS-Torlan" out of "Log: Bringing Level ONS-Torlan.myLevel up for play (90) ...".
QString MapOfLevelUp(std::string_view line) {
  std::string_view rest = line.substr(kLevelUpPrefix.size());
  size_t end = rest.find(".myLevel");
  if (end == std::string_view::npos) end = rest.find(" up for play");
  return platform::FromCp1252(rest.substr(0, end));
}

}  // namespace

PlayerLocation LocationFromBrowse(std::string_view browse, const std::optional<std::string>& levelUp,
                                  bool offline, const std::function<QString()>& playerName) {
  const std::string_view address = browse.substr(kBrowsePrefix.size());
  const size_t question = address.find('?');
  const std::string_view url = address.substr(0, question);
  const size_t slash = url.find('/');

  std::optional<QString> name;
  bool failed = false;
  if (question != std::string_view::npos) {
    for (const Option& option : SplitOptions(address.substr(question + 1))) {
      if (!name && option.value && option.key.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        name = option.value;
      if (option.key.compare(QLatin1String("failed"), Qt::CaseInsensitive) == 0) failed = true;
    }
  }
  PlayerLocation location{name ? *name : playerName(),
                          platform::FromCp1252(url.substr(0, slash == std::string_view::npos ? 0 : slash)),
                          levelUp ? MapOfLevelUp(*levelUp) : QString()};
  const bool onServer = !location.server.isEmpty() && !failed && levelUp.has_value();
  SettleState(location, !onServer, offline, playerName);
  return location;
}

PlayerLocation LocationFromFinding(const LogFinding& finding, bool offline,
                                   const std::function<QString()>& playerName) {
  const std::string& last = *finding.last;
  if (last.starts_with(kBrowsePrefix)) return LocationFromBrowse(last, finding.levelUp, offline, playerName);
  return LocationFromLogLine(last, offline, playerName);
}

}  // namespace presence
