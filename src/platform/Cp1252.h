#pragma once
// Data files hold single-byte Windows-1252 text; the screen and JSON want Unicode.

#include <string>
#include <string_view>

namespace tb {

std::string Cp1252ToUtf8(std::string_view ansi);
// The Unicode code point of one Windows-1252 byte.
char32_t Cp1252CodePoint(unsigned char b);
// True when every byte belongs to a well-formed UTF-8 sequence.
bool IsUtf8(std::string_view text);
// Characters that Windows-1252 cannot hold become '?'; invalid UTF-8 bytes too.
std::string Utf8ToCp1252(std::string_view utf8);
// The text in capitals, the accented letters of Windows-1252 included (for searches
// that ignore case).
std::string UpperCase1252(std::string text);
// Orders two texts ignoring case as UpperCase1252 folds it, without copying them:
// negative, 0 or positive.
int CompareText1252(std::string_view a, std::string_view b);

}  // namespace tb
