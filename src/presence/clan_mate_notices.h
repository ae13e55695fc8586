// Which clan mates deserve a desktop notice after a roster import: a member
// who has come online on a server, or who has moved to another server, gives
// one notice. None come from the first roster after a login (it is the
// baseline, not news), from a refused answer, from the player's own entry
// (names compared without regard to letter case), from an entry without a
// name, or from an entry that is on no server: empty, or one of the
// placeholders "Sucht Server..." and "offline", with or without their
// italic marks. A member listed twice counts once, at his first row.
#pragma once
#include <QString>
#include <vector>

#include "presence/roster.h"

namespace presence {

std::vector<QString> ClanMateNotices(const std::vector<RosterEntry>& previous,
                                     const std::vector<RosterEntry>& current, const QString& ownName,
                                     bool firstAfterLogin);

// The clan roster followed from import to import: the one last shown, and
// whether the next import is the first of a login, so its notices start
// from it. Only a roster of the logged-in state is news; the last answer of
// a logout is not.
class ClanMateWatch {
 public:
  // Each time the login state is shown; a login starts a new baseline.
  void LoginShown(bool loggedIn);
  // A clan import while `loggedIn`: the notices it brings; it becomes the
  // roster shown.
  std::vector<QString> RosterShown(const std::vector<RosterEntry>& roster, const QString& ownName, bool loggedIn);
  const std::vector<RosterEntry>& Shown() const { return shown_; }

 private:
  std::vector<RosterEntry> shown_;
  bool firstAfterLogin_ = false;
  bool loggedIn_ = false;
};

}  // namespace presence
