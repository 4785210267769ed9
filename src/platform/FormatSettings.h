#pragma once
// Locale-dependent texts: short date format, month and day names, currency format.
// Read once from the system locale; British English when the locale is C or POSIX.

#include <array>
#include <string>

namespace tb {

struct FormatSettings {
  std::string shortDateFormat = "dd/mm/yyyy";  // Delphi-style pattern
  char dateSeparator = '/';
  char timeSeparator = ':';
  // The long time pattern ("tt" in a pattern); "ampm" in it means a 12-hour clock
  // followed by timeAMString or timePMString.
  std::string longTimeFormat = "hh:nn:ss";
  std::string timeAMString = "AM";
  std::string timePMString = "PM";
  char decimalSeparator = '.';
  char thousandSeparator = ',';
  std::string currencyString = "\xA3";  // Windows-1252 bytes (pound sign)
  // 0 "£1", 1 "1£", 2 "£ 1", 3 "1 £"
  int currencyFormat = 0;
  // Delphi's NegCurrFormat numbering: 1 "-£1" is the British one.
  int negCurrFormat = 1;
  int currencyDecimals = 2;
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

  bool operator==(const FormatSettings&) const = default;
};

FormatSettings BritishFormatSettings();
// Settings for a named locale ("en_US.UTF-8", "de_DE.UTF-8", ...); British English
// for "C", "POSIX", empty, or a locale that is not installed.
FormatSettings FormatSettingsForLocale(const std::string& localeName);
// The process's settings, taken once from LC_ALL / LC_TIME / LC_MONETARY / LANG.
const FormatSettings& SystemFormatSettings();

}  // namespace tb
