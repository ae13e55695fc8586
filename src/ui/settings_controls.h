// The setup panel's copy of the settings: each value the panel offers is
// shown in, and read back from, the child of `form` named in this file's
// table (an edit's text, a check box's state, a list's item index). A stored
// index outside its list leaves the choice empty. The window position is not
// on the panel: Read keeps the one of `base`.
#pragma once
#include <QWidget>
#include <functional>

#include "app/settings.h"

namespace settings_controls {

// Sets only the controls whose value differs, so an edit being typed in
// keeps its cursor when nothing of it changed.
void Show(QWidget& form, const app::Settings& values);
app::Settings Read(const QWidget& form, const app::Settings& base);
// Runs `edited` after each change of one of the controls, whoever made it.
void WatchEdits(QWidget& form, const std::function<void()>& edited);

}  // namespace settings_controls
