// The player's name as the game keeps it: key "Name" of section
// "DefaultPlayer" in the game's user INI. The INI is read anew on every call.
#pragma once
#include <QString>
#include <optional>

namespace presence {

// The name; "?" when the file, the section or the key is missing (a key that
// is present with an empty value gives "").
QString ReadPlayerName(const QString& userIniPath);

// The start-up caption of the name label: "Username: " + name (an absent key
// reads as ""); nullopt when the user INI does not exist, so the label keeps
// its design caption.
std::optional<QString> PlayerNameCaption(const QString& userIniPath);

}  // namespace presence
