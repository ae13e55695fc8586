// The system's internet error codes and texts that a failed request is
// reported with, derived from the client library's result.
#pragma once
#include <curl/curl.h>

#include "platform/net/internet_error.h"

namespace platform {

InternetError InternetErrorOf(CURLcode result);

}  // namespace platform
