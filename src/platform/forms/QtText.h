#pragma once
// The engine keeps Windows-1252 bytes; Qt wants Unicode. Convert only here.

#include <QString>
#include <string>
#include <string_view>

#include "platform/Cp1252.h"

namespace tb {

inline QString ToQ(std::string_view ansi) { return QString::fromStdString(Cp1252ToUtf8(ansi)); }
inline std::string FromQ(const QString& text) { return Utf8ToCp1252(text.toStdString()); }
// A message text: "\r" is a line break.
inline QString MessageToQ(const std::string& ansi) { return ToQ(ansi).replace(QLatin1Char('\r'), QLatin1Char('\n')); }
// Texts of several lines hold Windows line breaks in the files; Qt's editors hold "\n".
inline QString MemoToQ(const std::string& ansi) {
  QString text = ToQ(ansi);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}
inline std::string MemoFromQ(const QString& text) {
  QString windows = text;
  windows.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQ(windows);
}

}  // namespace tb
