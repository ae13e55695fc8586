// The main window over the program's surroundings (support/program_fixture.h).
// The window and the end-to-end-near window tests share it and reach the
// window through its driver (support/window_driver.h).
//
// WindowFixture leaves the settings and the game to the test, which then
// opens the window; FormFixture opens it at once over complete settings, so
// no first-start notice appears, and forgets the boxes shown while opening.
#pragma once
#include <memory>

#include "support/program_fixture.h"
#include "support/window_driver.h"

namespace testing_support {

class WindowFixture : public ProgramFixture {
 public:
  using ProgramFixture::ProgramFixture;

  // Creates the window (its creation runs the start-up steps).
  WindowDriver& Open() {
    form = std::make_unique<MainWindow>(*services);
    driver = std::make_unique<WindowDriver>(*form);
    return *driver;
  }
  // The driver of the opened window.
  WindowDriver& Driver() { return *driver; }

  std::unique_ptr<MainWindow> form;  // once opened
  std::unique_ptr<WindowDriver> driver;
};

struct FormFixture : WindowFixture {
  FormFixture() {
    WriteCompleteSettings();
    Open();
    dialogs.boxes.clear();
  }
};

}  // namespace testing_support
