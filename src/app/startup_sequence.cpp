#include "app/startup_sequence.h"

namespace app {

void RunStartup(StartupSteps& steps) {
  steps.PrepareFiles();
  // The key lists come first: reading the settings selects their entries.
  steps.GenKeyBind();
  steps.ReadSettings();
  steps.FindGameDirectory();
  steps.ClearGameLeftovers();
  steps.EnsureGameLog();
  steps.RestoreWindowPosition();
  steps.InitGridHeadings();
  steps.PlacePanels();
  steps.ShowPlayerName();
  steps.ClearGlobalGrid();
  if (steps.LogSizeCheckChosen()) steps.Logsizecheck();
  steps.CheckFirstStart();
}

}  // namespace app
