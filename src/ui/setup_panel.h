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
// How many entries the panel's list `name` offers once built, the three key
// lists offering `keys`; 0 for a name that is no list of the panel.
int ChoiceCount(const QString& name, const QStringList& keys);

}  // namespace window_layout
