#pragma once
// The engine keeps Windows-1252 bytes; Qt wants Unicode. Convert only here.

#include <QString>
#include <string>

#include "platform/Cp1252.h"

namespace tb {

inline QString ToQ(const std::string& ansi) { return QString::fromStdString(Cp1252ToUtf8(ansi)); }
inline std::string FromQ(const QString& text) { return Utf8ToCp1252(text.toStdString()); }
// A message text: "\r" is a line break.
inline QString MessageToQ(const std::string& ansi) { return ToQ(ansi).replace(QLatin1Char('\r'), QLatin1Char('\n')); }

}  // namespace tb
