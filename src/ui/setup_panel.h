// The setup panel, the home of the settings while the program runs: the two
// script addresses with their passwords on tabs, the game directory with its
// folder button, the update interval, the clan site, the game, the log and
// notice checks, the three key choices and the save button. Hidden.
#pragma once

class TForm1;

namespace window_layout {

void BuildSetupPanel(TForm1& form);

}  // namespace window_layout
