// The login cycle's handlers of the main window: each hands its event to
// presence::LoginCycle, which the window serves through CycleAdapter.
#include "app/startup.h"
#include "presence/transfer_report_channel.h"
#include "ui/cycle_adapter.h"
#include "ui/main_window.h"

void TForm1::BuildLoginCycle() {
  cycleAdapter = std::make_unique<CycleAdapter>(*this);
  reportChannel = std::make_unique<presence::TransferReportChannel>(*webget, services.paths.TempDir(),
                                                                    app::kAnswerFileName);
  cycle = std::make_unique<presence::LoginCycle>(presence::LoginCycle::Parts{
      *cycleAdapter, *cycleAdapter, *reportChannel, services.dialogs, *Timer, activityLog, services.waits});
}

void TForm1::button_inaktivClick() { StartStop(); }
void TForm1::button_aktivClick() { StartStop(); }
void TForm1::StartStop() { cycle->StartStop(); }
void TForm1::TimerTimer() { cycle->Tick(); }
void TForm1::reloadClick() { cycle->Reload(); }
void TForm1::webgetURLNotFound(const QString& /*url*/) { cycle->UrlNotFound(); }
