// The session as the login cycle, start-up and close see it: each part
// forwards the steps they ask for to the session (app/session.h).
#pragma once
#include "app/session.h"
#include "app/shutdown.h"
#include "app/startup_sequence.h"

namespace app {

class Session::CycleParts : public presence::CycleSetup, public presence::CycleView, public presence::GameFiles {
 public:
  explicit CycleParts(Session& session) : s(session) {}
  // Each step is defined beside the session's own cycle steps
  // (session_cycle.cpp), so a report's way through the session is one file.
  void SaveSettings() override;
  presence::CycleSettings Settings() const override;
  bool GameExecutableExists() const override;
  void ShowSetup(bool visible) override;
  std::optional<presence::PlayerLocation> ScanGameLog(bool offline) override;

  void ShowLoggedIn(bool loggedIn) override;
  bool ClanListShown() const override;
  void ShowClanRoster(const presence::ClanRoster& roster) override;
  void ClearRefusedName() override;
  void UpdateVisDelay(int milliseconds, const std::function<bool()>& over) override;
  void WriteKeyBindings() override;
  void WriteExecScripts() override;

 private:
  Session& s;
};

class Session::Starting : public StartupSteps {
 public:
  explicit Starting(Session& session) : s(session) {}
  void PrepareFiles() override;
  void GenKeyBind() override;
  void ReadSettings() override { s.ReadSettings(); }
  void FindGameDirectory() override;
  void ClearGameLeftovers() override;
  void EnsureGameLog() override;
  void RestoreWindowPosition() override;
  void InitGridHeadings() override { s.view_.ShowRosterHeadings(); }
  void PlacePanels() override;
  void ShowPlayerName() override { s.ShowPlayerName(); }
  void ClearGlobalGrid() override;
  bool LogSizeCheckChosen() const override { return s.settings_.logSizeCheck; }
  void Logsizecheck() override;
  void CheckFirstStart() override;

 private:
  Session& s;
};

class Session::Closing : public CloseSteps {
 public:
  explicit Closing(Session& session) : s(session) {}
  void SaveSettings() override { s.SaveSettings(); }
  void EndTransfers() override;
  // Marks the session as ending, so the close that follows is no new
  // shutdown, then ends the event loop (through the services' terminate
  // when set).
  void Terminate() override;

 private:
  Session& s;
};

}  // namespace app
