#pragma once
// Paths are native (UTF-8) byte strings; texts from data files and settings are
// Windows-1252. Convert where one becomes the other.

#include <string>

#include "platform/Cp1252.h"

namespace tb {

// A path shown in a message or written to a log line.
inline std::string PathText(const std::string& nativePath) { return Utf8ToCp1252(nativePath); }
// A path built from a text (a property name, a configured folder).
inline std::string PathFromText(const std::string& ansi) { return Cp1252ToUtf8(ansi); }

}  // namespace tb
