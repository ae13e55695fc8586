#include "ui/cycle_adapter.h"

#include "app/startup.h"
#include "game/game_profile.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "presence/game_log_scanner.h"
#include "ui/main_window.h"

void CycleAdapter::SaveSettings() {
  form_.SaveSettings();
  form_.DefineGameProfile();
}

presence::CycleSettings CycleAdapter::Settings() const {
  presence::CycleSettings s;
  s.scriptUrl = form_.set_server->text();
  s.pass = form_.set_pass->text();
  s.globalScriptUrl = form_.set_globalserver->text();
  s.globalPass = form_.set_globalpass->text();
  s.intervalIndex = form_.set_intervall->currentIndex();
  s.gameName = form_.set_retailmod->currentText();
  return s;
}

bool CycleAdapter::GameExecutableExists() const {
  return platform::FileExists(form_.GameExecutable());
}

void CycleAdapter::ShowSetup(bool visible) { form_.Setup->setVisible(visible); }

std::optional<presence::PlayerLocation> CycleAdapter::ScanGameLog(bool offline) {
  return presence::ScanGameLogProcessingEvents(
      form_.GameFile(form_.GameProfile.logFile),
      platform::JoinDir(form_.services.paths.TempDir(), app::kWorkingCopyFileName),
      form_.GameFile(form_.GameProfile.userIni), offline,
      form_.GameProfile.unrealEngine2 ? presence::LogFormat::BrowseAndLevel : presence::LogFormat::LoadMap);
}

void CycleAdapter::ShowLoggedIn(bool loggedIn) {
  form_.button_inaktiv->setVisible(!loggedIn);
  form_.button_aktiv->setVisible(loggedIn);
  form_.Image3->setVisible(loggedIn);
  form_.ShowLoginState(loggedIn);
}

bool CycleAdapter::ClanListShown() const { return !form_.grid->isHidden(); }

void CycleAdapter::ShowClanRoster(const presence::ClanRoster& roster) { form_.ShowClanRoster(roster); }

void CycleAdapter::ClearRefusedName() { form_.ClearRefusedName(); }

void CycleAdapter::UpdateVisDelay(int milliseconds) { form_.UpdateVisDelay(milliseconds); }

void CycleAdapter::WriteKeyBindings() { form_.WriteKeyBindings(); }

void CycleAdapter::WriteExecScripts() { form_.WriteExecScripts(); }
