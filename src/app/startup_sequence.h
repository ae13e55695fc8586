// The start-up (FormCreate): every step in its fixed order. The session
// provides the steps; this says when each runs. An error
// raised by a step ends the sequence there (the caller reports it and the
// window opens all the same). Runs a nested event loop in the first-start
// notice.
#pragma once

namespace app {

class StartupSteps {
 public:
  virtual ~StartupSteps() = default;
  // The settings file's path and the activity log switch, known before any
  // step can fail; leftovers of interrupted writes beside the settings.
  virtual void PrepareFiles() = 0;
  virtual void GenKeyBind() = 0;
  virtual void ReadSettings() = 0;
  // Looks for an installed game when no game directory is set.
  virtual void FindGameDirectory() = 0;
  // Leftovers of interrupted writes in the game's directory.
  virtual void ClearGameLeftovers() = 0;
  virtual void EnsureGameLog() = 0;
  virtual void RestoreWindowPosition() = 0;
  virtual void InitGridHeadings() = 0;
  // The clan list shown; the about and news panels at their left edge.
  virtual void PlacePanels() = 0;
  virtual void ShowPlayerName() = 0;
  virtual void ClearGlobalGrid() = 0;
  virtual bool LogSizeCheckChosen() const = 0;
  virtual void Logsizecheck() = 0;
  virtual void CheckFirstStart() = 0;
};

void RunStartup(StartupSteps& steps);

}  // namespace app
