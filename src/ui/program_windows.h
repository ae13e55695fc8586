// The program's windows: shows the main window (which opens the directory
// chooser when asked) and runs the event loop until the program ends;
// returns the loop's exit code. When a copy using the same program files
// runs already, brings its window to the front instead and returns 0.
#pragma once
#include "app/services.h"

namespace program_windows {

int Run(app::Services& services);

}  // namespace program_windows
