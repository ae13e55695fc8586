// The about panel (names, addresses, where the settings file is) and the news
// panel (a read-only text and its close button). Both are hidden and stand to
// the right of the visible area until start-up moves them over the lists.
#pragma once

#include <QWidget>

struct MainWindowControls;

namespace window_layout {

void BuildAboutPanel(QWidget& window, MainWindowControls& form);
void BuildNewsPanel(QWidget& window, MainWindowControls& form);

}  // namespace window_layout
