#include "platform/DateTime.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/FormatSettings.h"

namespace tb {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// 1899-12-30 counted from 1970-01-01, the epoch of the civil-day algorithms below.
constexpr int64_t kDelphiEpoch = -25569;

// Howard Hinnant's days_from_civil / civil_from_days (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

DateParts CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(era * 400 + yoe + (m <= 2)), m, d};
}

// A date-time as a day number and the milliseconds into that day. The whole value is
// rounded to the millisecond first, so 23:59:59.9999 is midnight of the next day and a
// time that was encoded exactly never shows one millisecond early. Negative values
// count their fraction forwards from the day too: -1.25 is 29 Dec 1899 06:00.
struct Split {
  int64_t day = 0;
  int64_t ms = 0;
};

Split SplitDateTime(TDateTime dt) {
  if (!std::isfinite(dt)) dt = 0;
  // Far outside any real date; keeps the millisecond count well inside int64.
  if (dt > 1e9) dt = 1e9;
  if (dt < -1e9) dt = -1e9;
  const int64_t total = std::llround(dt * kMsPerDay);
  const int64_t day = total / kMsPerDay;  // truncates towards zero
  const int64_t ms = (total < 0 ? -total : total) % kMsPerDay;
  return {day, ms};
}

TimeParts TimeFromMs(int64_t ms) {
  return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
          static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

void AppendNumber(std::string& out, int64_t value, int minDigits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", minDigits, static_cast<long long>(value));
  out += buf;
}

// The number of times the (case-insensitive) letter at p[i] repeats from i.
std::size_t RunLength(std::string_view p, std::size_t i) {
  const int c = std::toupper(static_cast<unsigned char>(p[i]));
  std::size_t n = 1;
  while (i + n < p.size() && std::toupper(static_cast<unsigned char>(p[i + n])) == c) ++n;
  return n;
}

void FormatInto(std::string& out, std::string_view p, TDateTime dt, const FormatSettings& fs,
                int depth) {
  const Split split = SplitDateTime(dt);
  const DateParts date = CivilFromDays(split.day + kDelphiEpoch);
  const TimeParts time = TimeFromMs(split.ms);
  // "ampm" anywhere makes the hours a 12-hour clock.
  std::string lower(p);
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const bool twelveHour = lower.find("ampm") != std::string::npos;
  // Only letters count as the previous token: "hh:mm" and "h mm" mean minutes.
  char lastToken = 0;
  std::size_t i = 0;
  while (i < p.size()) {
    const char c = p[i];
    const char token = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c == '\'' || c == '"') {
      const std::size_t end = p.find(c, i + 1);
      const std::size_t stop = end == std::string_view::npos ? p.size() : end;
      out.append(p.substr(i + 1, stop - i - 1));
      i = stop == p.size() ? stop : stop + 1;
      continue;
    }
    if (c == '/') {
      out += fs.dateSeparator;
      ++i;
      continue;
    }
    if (c == ':') {
      out += fs.timeSeparator;
      ++i;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      out += c;
      ++i;
      continue;
    }
    if (lower.compare(i, 4, "ampm") == 0) {
      out += time.hour < 12 ? fs.timeAMString : fs.timePMString;
      i += 4;
      continue;
    }
    const std::size_t n = RunLength(p, i);
    const char effective = (token == 'M' && lastToken == 'H') ? 'N' : token;
    lastToken = effective;
    switch (effective) {
      case 'D':
        if (n <= 2) {
          AppendNumber(out, date.day, static_cast<int>(n));
        } else if (n <= 4) {
          const int dow = DayOfWeek(static_cast<double>(split.day)) - 1;
          out += n == 3 ? fs.shortDayNames[dow] : fs.longDayNames[dow];
        } else if (depth < 2) {  // a short date format naming itself must not recurse forever
          FormatInto(out, fs.shortDateFormat, dt, fs, depth + 1);
        }
        break;
      case 'M':
        if (n <= 2) {
          AppendNumber(out, date.month, static_cast<int>(n));
        } else {
          out += n == 3 ? fs.shortMonthNames[date.month - 1] : fs.longMonthNames[date.month - 1];
        }
        break;
      case 'Y':
        if (n <= 2) {
          AppendNumber(out, ((date.year % 100) + 100) % 100, 2);
        } else {
          AppendNumber(out, date.year, 4);
        }
        break;
      case 'H':
        AppendNumber(out, twelveHour ? (time.hour + 11) % 12 + 1 : time.hour, n >= 2 ? 2 : 1);
        break;
      case 'T':
        if (n < 2) {
          out.append(p.substr(i, n));
        } else if (depth < 2) {  // as with "ddddd"
          FormatInto(out, fs.longTimeFormat, dt, fs, depth + 1);
        }
        break;
      case 'N':
        AppendNumber(out, time.minute, n >= 2 ? 2 : 1);
        break;
      case 'S':
        AppendNumber(out, time.second, n >= 2 ? 2 : 1);
        break;
      case 'Z':
        AppendNumber(out, time.msec, n >= 2 ? 3 : 1);
        break;
      default:  // letters without a meaning are copied
        out.append(p.substr(i, n));
        break;
    }
    i += n;
  }
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) return false;
  out = static_cast<double>(DaysFromCivil(year, month, day) - kDelphiEpoch);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime dt = 0;
  return TryEncodeDate(year, month, day, dt) ? dt : 0;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      msec < 0 || msec > 999) {
    return 0;
  }
  const int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
  return static_cast<double>(ms) / kMsPerDay;
}

DateParts DecodeDate(TDateTime dt) {
  return CivilFromDays(SplitDateTime(dt).day + kDelphiEpoch);
}

TimeParts DecodeTime(TDateTime dt) { return TimeFromMs(SplitDateTime(dt).ms); }

TDateTime DateOf(TDateTime dt) { return static_cast<double>(SplitDateTime(dt).day); }

int DayOfWeek(TDateTime dt) {
  // Day 0, 30 Dec 1899, was a Saturday.
  const int64_t day = SplitDateTime(dt).day;
  return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

TDateTime FromTimeT(std::time_t t) {
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) return 0;
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
         EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec < 60 ? tm.tm_sec : 59, 0);
}

std::time_t ToTimeT(TDateTime dt) {
  const Split split = SplitDateTime(dt);
  const DateParts date = CivilFromDays(split.day + kDelphiEpoch);
  const TimeParts time = TimeFromMs(split.ms);
  std::tm tm{};
  tm.tm_year = date.year - 1900;
  tm.tm_mon = date.month - 1;
  tm.tm_mday = date.day;
  tm.tm_hour = time.hour;
  tm.tm_min = time.minute;
  tm.tm_sec = time.second;
  tm.tm_isdst = -1;  // let the zone rules decide summer time
  return std::mktime(&tm);
}

std::string FormatDateTime(std::string_view pattern, TDateTime dt) {
  return FormatDateTime(pattern, dt, SystemFormatSettings());
}

std::string FormatDateTime(std::string_view pattern, TDateTime dt, const FormatSettings& fs) {
  std::string out;
  FormatInto(out, pattern, dt, fs, 0);
  return out;
}

std::string ShortDateText(TDateTime dt) { return ShortDateText(dt, SystemFormatSettings()); }

std::string LongTimeText(TDateTime dt) { return FormatDateTime("tt", dt); }

std::string ShortDateText(TDateTime dt, const FormatSettings& fs) {
  return FormatDateTime(fs.shortDateFormat, dt, fs);
}

bool ParseIsoDate(const std::string& text, TDateTime& out) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
  return TryEncodeDate(y, m, d, out);
}

std::string SortableDateText(TDateTime dt) {
  const DateParts d = DecodeDate(dt);
  const int year = d.year < 0 ? 0 : d.year % 10000;
  const char date[10] = {static_cast<char>('0' + year / 1000), static_cast<char>('0' + year / 100 % 10),
                         static_cast<char>('0' + year / 10 % 10), static_cast<char>('0' + year % 10), '/',
                         static_cast<char>('0' + d.month / 10),   static_cast<char>('0' + d.month % 10), '/',
                         static_cast<char>('0' + d.day / 10),     static_cast<char>('0' + d.day % 10)};
  return std::string(date, sizeof date);
}

namespace {

void AppendDigits(std::string& out, int value, int digits) {
  char buf[8];
  for (int i = digits - 1; i >= 0; --i, value /= 10) buf[i] = static_cast<char>('0' + value % 10);
  out.append(buf, static_cast<size_t>(digits));
}

// "a-bb-cc" with the first number `first` digits wide.
void AppendThree(std::string& out, int a, int first, int b, int c, char sep) {
  AppendDigits(out, a, first);
  out += sep;
  AppendDigits(out, b, 2);
  out += sep;
  AppendDigits(out, c, 2);
}

}  // namespace

void AppendIsoDay(std::string& out, TDateTime dt) {
  const DateParts p = DecodeDate(dt);
  AppendThree(out, p.year, 4, p.month, p.day, '-');
}

void AppendIsoTime(std::string& out, TDateTime dt) {
  const TimeParts t = DecodeTime(dt);
  AppendThree(out, t.hour, 2, t.minute, t.second, ':');
}

}  // namespace tb
