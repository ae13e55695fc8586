// The query of a request URL taken apart the way the clan's web script reads
// it: pieces separated by "&", each "key=value" (a piece without "=" is a key
// with an empty value), "+" read as a blank and "%XX" as the byte XX. An
// escape that is not two hex digits stays as it is. The values are the raw
// bytes the client sent (Windows-1252 for a Quavik client).
#pragma once
#include <map>
#include <string>
#include <string_view>

namespace clan {

using Query = std::multimap<std::string, std::string>;

Query ParseQuery(std::string_view query);

// "%XX" escapes (and "+" when `plusIsBlank`) decoded to their bytes.
std::string DecodeUrlText(std::string_view text, bool plusIsBlank);

}  // namespace clan
