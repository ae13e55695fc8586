// The session over the program's surroundings (support/program_fixture.h)
// with the fake view: the program's flows without its window.
#pragma once
#include <memory>

#include "app/session.h"
#include "fake_view.h"
#include "support/program_fixture.h"

namespace testing_support {

struct SessionFixture : ProgramFixture {
  using ProgramFixture::ProgramFixture;

  // Creates the session and runs its start-up.
  app::Session& Open() {
    session = std::make_unique<app::Session>(*services, view);
    session->Start();
    return *session;
  }
  // What the user typed into the panel (view.panel) goes to the session.
  void Type() { view.Type(*session); }

  FakeView view;
  std::unique_ptr<app::Session> session;  // once opened; goes before the view
};

}  // namespace testing_support
