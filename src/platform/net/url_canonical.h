// A URL as typed, made fit to be sent: every byte a URL can't carry as it
// stands (blanks, control characters, bytes above 127, and " < > \ ^ ` { | })
// is sent percent-encoded, so "http://host/quavik script.php" requests
// "/quavik%20script.php". Everything else, existing %xx escapes included,
// stays as it is. Works on the Windows-1252 bytes of the URL.
#pragma once
#include <string>
#include <string_view>

namespace platform {

std::string CanonicalUrl(std::string_view url);

}  // namespace platform
