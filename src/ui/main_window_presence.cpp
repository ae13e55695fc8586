// The two roster lists of the main window: the clan roster as the login
// cycle last read it, clearing, the switch between the lists, and the fixed
// wait with the update indicator.
#include "platform/waits.h"
#include "presence/roster.h"
#include "ui/main_window.h"
#include "ui/roster_lists.h"

void TForm1::ShowClanRoster(const presence::ClanRoster& roster) {
  ClearClanGrid();
  RosterRowCount = roster_lists::ShowEntries(grid, roster.entries);
  RosterSummary = roster.summary;
  ClanRosterShown(roster.entries);
}

void TForm1::ClearRefusedName() { roster_lists::SetCell(grid, 0, 1, QString()); }

void TForm1::ClearClanGrid() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Leere Clangrid"));
  roster_lists::ClearRows(grid, RosterRowCount);
  RosterRowCount = 0;
}

void TForm1::clan_activeClick() {
  ClanListShown = !ClanListShown;
  grid->setVisible(ClanListShown);
  GlobalGrid->setVisible(!ClanListShown);
  for (TImage* image : {clan_active, clan_inactive, global_active, global_inactive})
    image->setVisible(image->isHidden());
}

void TForm1::UpdateVisDelay(int ms) {
  activityLog.Start(QStringLiteral("Importiere in Clangrid: Delay - UpdateVisOn"));
  updateicon->show();
  DelayTimer->SetInterval(services.waits.Scaled(ms));
  DelayTimer->SetEnabled(true);
  // Sleeps in the event loop until the timer has fired: the window stays
  // responsive and nothing spins.
  platform::WaitProcessingEvents([this] { return DelayTimer->Enabled(); });
  activityLog.Start(QStringLiteral("Importiere in Clangrid: Delay - UpdateVisOff"));
  updateicon->hide();
}

void TForm1::DelayTimerTimer() { DelayTimer->SetEnabled(false); }
