#include "app/startup_sequence.h"

namespace app {

void RunStartup(StartingWindow& window) {
  window.PrepareFiles();
  // The key lists come first: reading the settings selects their entries.
  window.GenKeyBind();
  window.ReadSettings();
  window.FindGameDirectory();
  window.ClearGameLeftovers();
  window.EnsureGameLog();
  window.RestoreWindowPosition();
  window.InitGridHeadings();
  window.PlacePanels();
  window.ShowPlayerName();
  window.ClearGlobalGrid();
  if (window.LogSizeCheckChosen()) window.Logsizecheck();
  window.CheckFirstStart();
}

}  // namespace app
