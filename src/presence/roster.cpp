#include "presence/roster.h"

#include <algorithm>
#include <optional>

#include "platform/text/cp1252.h"

namespace presence {

namespace {

// The lines of the answer one at a time, by the program's text rule.
class LineCursor {
 public:
  explicit LineCursor(std::string_view bytes) : bytes_(bytes) {
    if (const size_t z = bytes_.find('\x1A'); z != std::string_view::npos) bytes_ = bytes_.substr(0, z);
  }
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  // The next line, or nullopt past the end.
  std::optional<std::string_view> Next() {
    if (AtEnd()) return std::nullopt;
    const size_t cr = std::min(bytes_.find('\r', pos_), bytes_.size());
    const std::string_view line = bytes_.substr(pos_, cr - pos_);
    pos_ = cr + 1;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    return line;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace

ClanRoster ParseClanAnswer(std::string_view answerBytes, const platform::ActivityLog& log) {
  ClanRoster roster;
  if (answerBytes.size() > kMaxAnswerBytes) {
    // Only whole lines of what fits; a record they end inside is left out.
    answerBytes = answerBytes.substr(0, kMaxAnswerBytes);
    const size_t lastEnd = answerBytes.find_last_of('\r');
    answerBytes = answerBytes.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd + 1);
    roster.cut = true;
  }
  LineCursor lines(answerBytes);
  roster.summary = QStringLiteral("Quavik meldet: ");
  do {
    if (roster.entries.size() == kMaxRosterRecords) {
      roster.cut = true;
      break;
    }
    log.Start(QStringLiteral("Importiere in Clangrid: readln"));
    bool whole = true;
    const auto readLine = [&]() -> QString {
      const auto line = lines.Next();
      whole = whole && line.has_value();
      return line ? platform::FromCp1252(*line) : QString();
    };
    RosterEntry entry;
    entry.name = readLine();
    entry.onlineOn = readLine();
    entry.timestampPart1 = readLine();
    entry.timestampPart2 = readLine();
    if (roster.cut && !whole) break;
    roster.summary += entry.name + QStringLiteral(" (") + entry.onlineOn + QStringLiteral(") ");
    roster.entries.push_back(std::move(entry));
  } while (!lines.AtEnd());
  if (roster.cut)
    log.Start(QStringLiteral("Importiere in Clangrid: Antwort gekürzt auf %1 Einträge").arg(roster.entries.size()));
  return roster;
}

bool MasterAnswerRefused(std::string_view answerBytes) {
  // Only the first line counts: an answer of megabytes is not split up for it.
  return LineCursor(answerBytes).Next() == "AUTH_FAILED!";
}

}  // namespace presence
