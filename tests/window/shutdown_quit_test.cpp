// Ending the application closes its windows; that close must not run the
// shutdown a second time (a second question, a second pair of offline reports).
#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/session.h"
#include "support/window_fixture.h"

using testing_support::WindowDriver;
using testing_support::WindowFixture;

TEST(Shutdown, WindowClosedByTheEndingApplicationDoesNotCloseTwice) {
  for (const bool throughCloseEvent : {false, true}) {
    WindowFixture w({"LOG"});
    w.WriteCompleteSettings();
    WindowDriver& f = w.Open();
    // As the real application does when told to quit: it closes its windows.
    w.services->terminate = [&] {
      ++w.terminations;
      f.window().close();
    };
    f.session().updateTimer().SetInterval(600000);
    f.session().updateTimer().SetEnabled(true);
    w.dialogs.answers.push_back(platform::Answer::No);
    if (throughCloseEvent) f.window().close(); else f.Click("Close");

    size_t questions = 0;
    for (const auto& box : w.dialogs.boxes) questions += box.text == app::CloseQuestion();
    EXPECT_EQ(questions, 1u) << throughCloseEvent;
    EXPECT_EQ(w.terminations, 1) << throughCloseEvent;
    const std::string log = w.ActivityLogFile();
    EXPECT_EQ(log.find("START ApplicationClose..."), log.rfind("START ApplicationClose...")) << throughCloseEvent;
  }
}
