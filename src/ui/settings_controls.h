// The settings as the setup panel shows them: each key of the settings table
// that names a control is shown in, and read back from, the child of `form`
// with that name (an edit's text, a check box's state, a list's item index).
// A stored index outside its list leaves the choice empty.
#pragma once
#include <QWidget>

#include "app/settings.h"

namespace settings_controls {

void Show(QWidget& form, const app::SettingsValues& values);
// The window position keeps its default: the window's own edges hold it.
app::SettingsValues Read(const QWidget& form);

}  // namespace settings_controls
