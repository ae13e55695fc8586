// The setup panel, the home of the settings while the program runs: the two
// script addresses with their passwords on tabs, the game directory with its
// folder button, the update interval, the clan site, the game, the log and
// notice checks, the three key choices and the save button. Hidden.
#pragma once
#include <QString>
#include <QStringList>

#include <QWidget>

struct MainWindowControls;

namespace window_layout {

void BuildSetupPanel(QWidget& window, MainWindowControls& form);

}  // namespace window_layout
