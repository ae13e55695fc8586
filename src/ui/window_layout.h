// The main window's controls, built back to front at their places: the image
// buttons and labels on the skin, the two roster lists, the bookmark list,
// the title strip's popup menu, and the order the Tab key visits them in.
// The setup, about and news panels (setup_panel.h, info_panels.h) are built
// when the window first needs them. Each control goes into the member of its
// name, which is also its objectName; no handler is bound here.
#pragma once

#include <QWidget>

struct MainWindowControls;

namespace window_layout {

void BuildControls(QWidget& window, MainWindowControls& form);
// The Tab key's order through the controls built so far; run again after a
// panel has been built.
void SetFocusOrder(MainWindowControls& form);

}  // namespace window_layout
