// Conversion between Windows-1252 bytes and UTF-8. The clan roster keeps the
// bytes the clients send (Windows-1252); browsers, terminals and the command
// line speak UTF-8. Every Windows-1252 byte has a UTF-8 form (the five bytes
// without a character, 0x81, 0x8D, 0x8F, 0x90 and 0x9D, become the control
// characters of the same number), so that direction never loses anything.
#pragma once
#include <string>
#include <string_view>

namespace clan {

std::string Win1252ToUtf8(std::string_view bytes);

// True when `text` is well-formed UTF-8 (plain ASCII included).
bool IsUtf8(std::string_view text);

// UTF-8 to Windows-1252; a character that has no Windows-1252 byte becomes
// '?'. Text that is not well-formed UTF-8 is taken to be Windows-1252 already
// and returned unchanged.
std::string Utf8ToWin1252(std::string_view text);

}  // namespace clan
