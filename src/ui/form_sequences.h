// The main window as start-up and shutdown see it: each step that
// app::RunStartup and app::CloseApplication ask for, done on the form. Steps
// only start-up needs (the files, the game directory search, the game log's
// duties, the first-start notice) are done here in full; the rest call the
// form's own methods.
#pragma once
#include "app/shutdown.h"
#include "app/startup_sequence.h"

class TForm1;

class StartingForm : public app::StartingWindow {
 public:
  explicit StartingForm(TForm1& form) : f(form) {}
  void PrepareFiles() override;
  void GenKeyBind() override;
  void ReadSettings() override;
  void FindGameDirectory() override;
  void ClearGameLeftovers() override;
  void EnsureGameLog() override;
  void RestoreWindowPosition() override;
  void InitGridHeadings() override;
  void PlacePanels() override;
  void ShowPlayerName() override;
  void ClearGlobalGrid() override;
  bool LogSizeCheckChosen() const override;
  void Logsizecheck() override;
  void CheckFirstStart() override;

 private:
  TForm1& f;
};

class ClosingForm : public app::ClosingWindow {
 public:
  explicit ClosingForm(TForm1& form) : f(form) {}
  void SaveSettings() override;
  void EndTransfers() override;
  // Marks the form as ending, so the close that follows is no new shutdown,
  // then ends the event loop (through the services' terminate when set).
  void Terminate() override;

 private:
  TForm1& f;
};
