// The presence cycle of the main window: login, timer ticks, reload and
// logout; one report (scan, request, import); the roster lists and the wait
// with the update indicator. The rules live in src/presence/.
#include "game/game_profile.h"
#include "app/startup.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/waits.h"
#include "presence/game_log_scanner.h"
#include "presence/report_gate.h"
#include "presence/report_url.h"
#include "presence/roster.h"
#include "ui/main_window.h"
#include "ui/roster_grid.h"

using platform::Beep;
using platform::BoxKind;
using platform::Buttons;

namespace {

const QString kUrlNotFoundMessage = QStringLiteral(
    "Achtung: der von Ihnen angegebene Server-URL konnte nicht gefunden werden, ein Login ist nicht "
    "möglich. Bitte prüfen Sie den im Setup hinterlegten Serverpfad oder kontaktieren Sie Ihren "
    "Webmaster...");
const QString kNoScriptUrlMessage = QStringLiteral(
    "Problem: ohne die Angabe eines Server-URL funktioniert der Quavik nicht. Bitte vervollständigen "
    "Sie die fehlende Angabe im Setup!");
const QString kGlobalNotice = QStringLiteral("Visit www.quavik.de/global");

QString GameFilesMissingMessage(const QString& game) {
  return QStringLiteral("Auf Basis des angegebenen Verzeichnisses konnten die ") + game +
         QStringLiteral("-Programmdateien nicht gefunden werden! Wirklich das korrekte Verzeichnis ausgewählt?");
}

// Rows beyond the design's 40 are added as the roster needs them, so every
// member who is online can be seen; the scroll bar shows once they don't fit.
void SetRosterCell(QTableWidget* list, int column, int row, const QString& text) {
  if (row >= list->rowCount()) {
    const int first = list->rowCount();
    list->setRowCount(row + 1);
    for (int r = first; r <= row; ++r) {
      list->setRowHeight(r, kRosterRowHeight);
      for (int c = 0; c < kRosterColumns; ++c) {
        auto* item = new QTableWidgetItem();
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        list->setItem(r, c, item);
      }
    }
  }
  if (QTableWidgetItem* item = list->item(row, column)) {
    item->setText(text);
  } else {
    list->setItem(row, column, new QTableWidgetItem(text));
  }
}

QString RosterCell(const QTableWidget* list, int column, int row) {
  const QTableWidgetItem* item = list->item(row, column);
  return item ? item->text() : QString();
}

void ClearRosterRows(QTableWidget* list, int lastRow) {
  for (int row = 1; row <= lastRow && row < list->rowCount(); ++row)
    for (int column = 0; column < kRosterColumns; ++column) SetRosterCell(list, column, row, QString());
}

// Back to the design size once a long roster has gone, and a scroll bar
// exactly while filled rows reach below the visible area.
void FitRosterRows(QTableWidget* list, int usedRows) {
  list->setRowCount(std::max(kRosterRows, usedRows));
  const int visibleRows = list->height() / kRosterRowHeight;
  list->setVerticalScrollBarPolicy(usedRows > visibleRows ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

}  // namespace

void TForm1::button_inaktivClick() { StartStop(); }
void TForm1::button_aktivClick() { StartStop(); }

void TForm1::StartStop() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Start/Stop"));
  if (Timer->Enabled()) {
    Timer->SetEnabled(false);
    button_inaktiv->show();
    button_aktiv->hide();
    LogoutUser();
    Image3->hide();
    return;
  }
  SaveSettings();
  DefineGameProfile();
  if (!platform::FileExists(game::GameFilePath(set_todir->text(), GameProfile.executable))) {
    services.dialogs.MessageBeep(Beep::Exclamation);
    services.dialogs.ShowMessage(GameFilesMissingMessage(set_retailmod->currentText()), Buttons::YesOnly,
                                 BoxKind::Error);
    Setup->show();
    return;
  }
  if (set_server->text().isEmpty()) {
    services.dialogs.ShowMessage(kNoScriptUrlMessage, Buttons::YesOnly, BoxKind::Error);
    Setup->show();
    return;
  }
  Setup->hide();
  Timer->SetInterval(services.waits.Scaled((set_intervall->currentIndex() + 1) * 60000));
  Timer->SetEnabled(true);
  button_inaktiv->hide();
  button_aktiv->show();
  GlobalAuthFailed = false;
  Image3->setVisible(Timer->Enabled());
  SendPlayerLocation(false, false);
  if (!set_globalserver->text().isEmpty()) SendPlayerLocation(false, true);
  WriteKeyBindings();
  WriteExecScripts();
}

void TForm1::TimerTimer() {
  platform::ActivityScope scope(activityLog, QStringLiteral("PostTimer"));
  SendPlayerLocation(false, false);
  WriteExecScripts();
  if (!GlobalAuthFailed && !set_globalserver->text().isEmpty()) {
    ++GlobalPostCounter;
    if (GlobalPostCounter == 2) {
      GlobalPostCounter = 0;
      SendPlayerLocation(false, true);
    }
  }
}

void TForm1::LogoutUser() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Logout User"));
  SendPlayerLocation(true, false);
  if (!GlobalAuthFailed && !set_globalserver->text().isEmpty()) SendPlayerLocation(true, true);
}

void TForm1::reloadClick() { SendPlayerLocation(false, grid->isHidden()); }

void TForm1::SendPlayerLocation(bool offline, bool global) {
  platform::ActivityScope scope(activityLog, QStringLiteral("Sende Spielerstandort"));
  SaveSettings();
  DefineGameProfile();
  const QString gameDir = set_todir->text();
  const auto location = presence::ScanGameLogProcessingEvents(
      game::GameFilePath(gameDir, GameProfile.logFile),
      platform::JoinDir(services.paths.TempDir(), app::kWorkingCopyFileName),
      game::GameFilePath(gameDir, GameProfile.userIni), offline,
      GameProfile.unrealEngine2 ? presence::LogFormat::BrowseAndLevel : presence::LogFormat::LoadMap);
  if (!location) {
    services.dialogs.MessageBeep(Beep::Default);
    return;
  }
  const QString password = global ? set_globalpass->text() : set_pass->text();
  const QString scriptUrl = global ? set_globalserver->text() : set_server->text();
  const QByteArray url = presence::BuildReportUrl(scriptUrl, *location, password, global);
  activityLog.Start(QStringLiteral("Poste an Quavikserver (END)"));
  // A transfer still running keeps its own items: clearing the list here
  // never disturbs it, and this report's run queues behind it.
  webget->Items.Clear();
  TFileTransferItem& item = webget->Items.Add();
  item.URL = QString::fromLatin1(url);
  item.HTTPCommand = hcPut;
  item.TargetDir = services.paths.TempDir();
  item.TargetFilename = app::kAnswerFileName;
  const presence::ReportGate gate = presence::DecideReportSending(location->name);
  if (gate.warnMissingName) {
    services.dialogs.MessageBeep(Beep::Exclamation);
    services.dialogs.ShowMessage(presence::kMissingNameMessage, Buttons::Ok, BoxKind::Information);
  }
  if (gate.send) webget->Start();
  if (!global) {
    ImportClanRoster();
  } else if (!GlobalAuthFailed) {
    ImportGlobalRoster();
  }
}

void TForm1::webgetURLNotFound(const QString& /*url*/) {
  services.dialogs.ShowMessage(kUrlNotFoundMessage, Buttons::YesOnly, BoxKind::Error);
  RejectConnection();
}

void TForm1::RejectConnection() {
  platform::ActivityScope scope(activityLog, QStringLiteral("RejectConnection"));
  Timer->SetEnabled(false);
  button_inaktiv->show();
  button_aktiv->hide();
  Image3->setVisible(Timer->Enabled());
}

void TForm1::WaitForReportTransfer() {
  // The answer is read only once the report's transfer has ended, so it is
  // never read half-written. The transfer's own time-outs bound this wait.
  platform::WaitProcessingEvents([this] { return webget->Busy(); });
}

void TForm1::ImportClanRoster() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Importiere in Clangrid"));
  activityLog.Start(QStringLiteral("Importiere in Clangrid: Delay ON"));
  UpdateVisDelay(4000);
  WaitForReportTransfer();
  activityLog.Start(QStringLiteral("Importiere in Clangrid: Delay OFF"));
  activityLog.Start(QStringLiteral("Importiere in Clangrid: öffne TMP"));
  if (const auto answer =
          platform::ReadFileBytes(platform::JoinDir(services.paths.TempDir(), app::kAnswerFileName))) {
    activityLog.Start(QStringLiteral("Importiere in Clangrid: clr"));
    ClearClanGrid();
    const presence::ClanRoster roster = presence::ParseClanAnswer(*answer, activityLog);
    int row = 1;
    for (const presence::RosterEntry& entry : roster.entries) {
      SetRosterCell(grid, 0, row, entry.name);
      SetRosterCell(grid, 1, row, entry.onlineOn);
      SetRosterCell(grid, 2, row, entry.TimestampCell());
      ++row;
    }
    RosterSummary = roster.summary;
    RosterRowCount = row;
    FitRosterRows(grid, row);
  }
  activityLog.Start(QStringLiteral("Importiere in Clangrid: auth_fail?"));
  if (RosterCell(grid, 0, 1) == presence::kAuthFailed) {
    services.dialogs.MessageBeep(Beep::Default);
    SetRosterCell(grid, 0, 1, QString());
    services.dialogs.ShowMessage(presence::kClanPasswordRefusedMessage, Buttons::YesOnly, BoxKind::Error);
    RejectConnection();
  }
}

void TForm1::ImportGlobalRoster() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Importiere in Globalgrid"));
  UpdateVisDelay(4000);
  WaitForReportTransfer();
  const auto answer =
      platform::ReadFileBytes(platform::JoinDir(services.paths.TempDir(), app::kAnswerFileName));
  if (answer && presence::MasterAnswerRefused(*answer)) {
    services.dialogs.MessageBeep(Beep::Default);
    GlobalAuthFailed = true;
    services.dialogs.ShowMessage(presence::kMasterPasswordRefusedMessage, Buttons::YesOnly, BoxKind::Error);
  }
}

void TForm1::ClearClanGrid() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Leere Clangrid"));
  ClearRosterRows(grid, RosterRowCount);
  RosterRowCount = 0;
}

void TForm1::ClearGlobalGrid() {
  platform::ActivityScope scope(activityLog, QStringLiteral("Leere Globalgrid"));
  ClearRosterRows(GlobalGrid, RosterRowCount);
  RosterRowCount = 0;
  SetRosterCell(GlobalGrid, 0, 1, kGlobalNotice);
  SetRosterCell(GlobalGrid, 0, 2, QStringLiteral("for the complete list"));
  SetRosterCell(GlobalGrid, 0, 3, QStringLiteral("of tactical ops player..."));
}

void TForm1::InitGridHeadings() {
  for (QTableWidget* list : {grid, GlobalGrid}) {
    SetRosterCell(list, 0, 0, QStringLiteral("Spielername:"));
    SetRosterCell(list, 1, 0, QStringLiteral("Online auf:"));
    SetRosterCell(list, 2, 0, QStringLiteral("Timestamp:"));
    list->setColumnWidth(0, 114);
    list->setColumnWidth(1, 75);
    list->setColumnWidth(2, 86);
  }
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
