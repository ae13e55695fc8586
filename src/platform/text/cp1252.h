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

// Newer game builds write UTF-8 text and mark the file with a UTF-8 byte
// order mark; older ones write Windows-1252. Files that carry the mark are
// not always consistent (a name may still be stored as single Windows-1252
// bytes), so UTF-8 text is read leniently: every valid UTF-8 sequence is its
// character, and a byte that starts no valid sequence is read as
// Windows-1252.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
QString FromUtf8Lenient(std::string_view bytes);

// The reading and writing of one file's text: Windows-1252, or UTF-8 for a
// file that begins with kUtf8Bom.
enum class TextEncoding { Cp1252, Utf8 };
TextEncoding EncodingOf(std::string_view fileStart);
QString Decode(std::string_view bytes, TextEncoding encoding);
std::string Encode(const QString& text, TextEncoding encoding);

}  // namespace platform
