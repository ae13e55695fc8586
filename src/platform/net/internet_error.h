// How a failed internet request is reported to the user.
#pragma once
#include <QString>

namespace platform {

// A failure with the code and text of the system's internet error table
// (12002 time-out, 12007 name not resolved, 12029 cannot connect, ...).
struct InternetError {
  int code = 0;
  QString message;
};

}  // namespace platform
