// The program's windows: shows the main window (which opens the directory
// chooser when asked) and runs the event loop until the program ends;
// returns the loop's exit code.
#pragma once
#include "app/services.h"

namespace program_windows {

int Run(app::Services& services);

}  // namespace program_windows
