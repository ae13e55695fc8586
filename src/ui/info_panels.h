// The about panel (names, addresses, where the settings file is) and the news
// panel (a read-only text and its close button). Both are built hidden, when
// the window first needs them, to the right of the visible area until the
// window moves them over the lists.
#pragma once

#include <QWidget>

struct MainWindowControls;

namespace window_layout {

void BuildAboutPanel(QWidget& window, MainWindowControls& form);
void BuildNewsPanel(QWidget& window, MainWindowControls& form);

}  // namespace window_layout
