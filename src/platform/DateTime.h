#pragma once
// Dates as the data files hold them: a double counting days since 30 Dec 1899,
// the fraction being the time of day.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace tb {

struct FormatSettings;

using TDateTime = double;

struct DateParts {
  int year = 0, month = 0, day = 0;
};
struct TimeParts {
  int hour = 0, minute = 0, second = 0, msec = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
// "YYYY-MM-DD" as a date; false when it is not one.
bool ParseIsoDate(const std::string& text, TDateTime& out);
TDateTime EncodeDate(int year, int month, int day);  // invalid dates give 0
TDateTime EncodeTime(int hour, int minute, int second, int msec);  // invalid times give 0
DateParts DecodeDate(TDateTime dt);
TimeParts DecodeTime(TDateTime dt);
// The date part. Before 30 Dec 1899 the fraction still counts forwards from the
// date's start (-1.25 is 29 Dec 1899 06:00), so DateOf(-1.25) = -1.
TDateTime DateOf(TDateTime dt);
// 1 = Sunday .. 7 = Saturday, as the settings' ChangeDay counts.
int DayOfWeek(TDateTime dt);

// Local calendar time to and from time_t.
TDateTime FromTimeT(std::time_t t);
std::time_t ToTimeT(TDateTime dt);

// Formats with the date patterns the program uses: d dd ddd dddd ddddd(short date)
// m mm mmm mmmm yy yyyy h hh n nn s ss z zzz tt(long time) ampm, "/" as the date
// separator, ":" as the time separator, and text in single or double quotes copied as
// it stands.
// "m" directly after "h"/"hh" means minutes, as usual.
std::string FormatDateTime(std::string_view pattern, TDateTime dt);
std::string FormatDateTime(std::string_view pattern, TDateTime dt, const FormatSettings& fs);
// "yyyy/mm/dd" whatever the locale, so that text order is date order. Built by hand:
// the general formatter is the slowest part of a list of thousands of rows.
std::string SortableDateText(TDateTime dt);
// "yyyy-mm-dd" and "hh:nn:ss", appended to out; built by hand, as a rates query or a
// full export writes hundreds of thousands of them.
void AppendIsoDay(std::string& out, TDateTime dt);
void AppendIsoTime(std::string& out, TDateTime dt);
// The short date format of the locale ("dd/mm/yyyy" in British English).
std::string ShortDateText(TDateTime dt);
std::string ShortDateText(TDateTime dt, const FormatSettings& fs);
// The time in the system's long time format ("14:07:09", "2:07:09 PM").
std::string LongTimeText(TDateTime dt);

}  // namespace tb
