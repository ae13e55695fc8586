// The clan script's answer: records of four lines (player name, where the
// player is online, two timestamp parts), no header, no separators. Reading
// goes on until the end of the text is reached after a record, so missing
// lines at the end read as "", and an empty answer gives one empty record.
// Lines follow the program's text rule (platform/os/text_file.h). A first line
// of exactly "AUTH_FAILED!" means the script refused the password.
//
// A hostile or broken answer can't flood the window: at most
// kMaxRosterRecords records (the clan server's own cap) and kMaxAnswerBytes
// of the answer are imported; past that, the whole records that fit are, and
// the activity log says so.
//
// RosterSummary is the one-line roster the in-game scripts carry:
// "Quavik meldet: " + for each record name + " (" + online-on + ") ".
#pragma once
#include <QString>
#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/os/activity_log.h"

namespace presence {

inline constexpr std::size_t kMaxRosterRecords = 10000;
inline constexpr std::size_t kMaxAnswerBytes = 16u << 20;

struct RosterEntry {
  QString name;
  QString onlineOn;
  QString timestampPart1;
  QString timestampPart2;
  QString TimestampCell() const { return timestampPart1 + QStringLiteral(", ") + timestampPart2; }
  bool operator==(const RosterEntry&) const = default;
};

struct ClanRoster {
  std::vector<RosterEntry> entries;  // in file order; one row each
  QString summary;
  bool cut = false;  // the answer held more than is imported
};

// Writes the START line "Importiere in Clangrid: readln" once per record,
// and "Importiere in Clangrid: Antwort gekürzt auf <n> Einträge" when the
// answer is cut. `answerBytes` may be longer than kMaxAnswerBytes (read
// kMaxAnswerBytes + 1 bytes to let the cut be seen).
ClanRoster ParseClanAnswer(std::string_view answerBytes, const platform::ActivityLog& log);

// True when the master server's answer refuses the password (its first line
// is "AUTH_FAILED!"); nothing else of that answer is used.
bool MasterAnswerRefused(std::string_view answerBytes);

inline const QString kAuthFailed = QStringLiteral("AUTH_FAILED!");

inline const QString kClanPasswordRefusedMessage = QStringLiteral(
    "Kennwortfehler: das im Client hinterlegte Kennwort stimmt nicht mit dem des Servers "
    "überein...");
inline const QString kMasterPasswordRefusedMessage = QStringLiteral(
    "Kennwortfehler: das im Client hinterlegte Kennwort stimmt nicht mit dem des Masterservers "
    "überein. Es wurde keine Verbindung zum Masterserver aufgebaut!");

}  // namespace presence
