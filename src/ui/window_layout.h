// The main window's controls, built back to front at their places: the image
// buttons and labels on the skin, the two roster lists, the setup panel, the
// bookmark list, the about and news panels, the title strip's popup menu,
// and the order the Tab key visits them in. Each control goes into
// the member of its name, which is also its objectName; no handler is
// bound here.
#pragma once

#include <QWidget>

struct MainWindowControls;

namespace window_layout {

void BuildControls(QWidget& window, MainWindowControls& form);

}  // namespace window_layout
