// Ending the application closes its windows; that close must not run the
// shutdown a second time (a second question, a second pair of offline reports).
#include <gtest/gtest.h>

#include "app/startup.h"
#include "app/session.h"
#include "support/loopback_http_server.h"
#include "support/window_fixture.h"

using testing_support::LoopbackHttpServer;
using testing_support::WindowDriver;
using testing_support::WindowFixture;

TEST(Shutdown, WindowClosedByTheEndingApplicationDoesNotCloseTwice) {
  for (const bool throughCloseEvent : {false, true}) {
    LoopbackHttpServer http;
    http.Serve("/q.php", "Kim\r\n1.2.3.4:7777\r\nd\r\nt\r\n");
    WindowFixture w({"LOG"});
    w.InstallGame();
    w.WriteLoginSettings(http.Url("/q.php"), "", "Update-Intervall=9\r\n");
    WindowDriver& f = w.Open();
    f.Click("Anmelden");
    ASSERT_TRUE(f.session().LoggedIn());
    // As the real application does when told to quit: it closes its windows.
    w.services->terminate = [&] {
      ++w.terminations;
      f.window().close();
    };
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
