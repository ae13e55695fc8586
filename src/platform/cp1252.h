// Windows-1252 at the edge: the game's files and our own files are 8-bit
// Windows-1252 text; inside the program text is QString.
#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace platform {

// Every byte maps to one character (the five unassigned bytes map to U+0081,
// U+008D, U+008F, U+0090, U+009D, as Windows does).
QString FromCp1252(std::string_view bytes);

// Characters without a Windows-1252 byte become '?'.
std::string ToCp1252(const QString& text);

}  // namespace platform
