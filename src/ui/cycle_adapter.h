// The main window as the login cycle sees it: the setup panel's controls,
// the game's files named by the current game profile, the login buttons,
// the clan list and the update indicator.
#pragma once
#include "presence/login_cycle.h"

class TForm1;

class CycleAdapter : public presence::CycleSetup, public presence::CycleView {
 public:
  explicit CycleAdapter(TForm1& form) : form_(form) {}

  void SaveSettings() override;
  presence::CycleSettings Settings() const override;
  bool GameExecutableExists() const override;
  void ShowSetup(bool visible) override;
  std::optional<presence::PlayerLocation> ScanGameLog(bool offline) override;

  void ShowLoggedIn(bool loggedIn) override;
  bool ClanListShown() const override;
  void ShowClanRoster(const presence::ClanRoster& roster) override;
  void ClearRefusedName() override;
  void UpdateVisDelay(int milliseconds) override;
  void WriteKeyBindings() override;
  void WriteExecScripts() override;

 private:
  TForm1& form_;
};
