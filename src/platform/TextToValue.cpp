#include "platform/TextToValue.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

#include "platform/FormatSettings.h"
#include "platform/Text.h"

namespace tb {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits at pos (at most maxDigits of them); false when there are none or too many.
bool ScanNumber(std::string_view t, size_t& pos, int maxDigits, int& value, int& digits) {
  value = 0;
  digits = 0;
  while (pos < t.size() && IsDigit(t[pos])) {
    if (++digits > maxDigits) return false;
    value = value * 10 + (t[pos++] - '0');
  }
  return digits > 0;
}

void SkipBlanks(std::string_view t, size_t& pos) {
  while (pos < t.size() && t[pos] == ' ') ++pos;
}

// 'D', 'M' and 'Y' in the order the short date format writes them.
std::array<char, 3> DateOrder(const std::string& pattern) {
  std::array<char, 3> order{};
  int found = 0;
  char quote = 0;
  for (char c : pattern) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      continue;
    }
    const char u = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if ((u == 'D' || u == 'M' || u == 'Y') && found < 3) {
      bool seen = false;
      for (int i = 0; i < found; ++i) seen = seen || order[static_cast<size_t>(i)] == u;
      if (!seen) order[static_cast<size_t>(found++)] = u;
    }
  }
  if (found < 3) return {'D', 'M', 'Y'};
  return order;
}

bool StartsWithNoCase(std::string_view t, size_t pos, const std::string& word) {
  if (word.empty() || t.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(t[pos + i]) != lower(word[i])) return false;
  }
  return true;
}

bool ScanDate(std::string_view t, size_t& pos, const FormatSettings& fs, TDateTime today, TDateTime& date) {
  std::array<int, 3> n{};
  std::array<int, 3> digits{};
  int count = 0;
  while (count < 3) {
    if (!ScanNumber(t, pos, 4, n[static_cast<size_t>(count)], digits[static_cast<size_t>(count)])) return false;
    ++count;
    if (pos < t.size() && t[pos] == fs.dateSeparator && count < 3) {
      ++pos;
      continue;
    }
    break;
  }
  if (count < 2) return false;
  const std::array<char, 3> order = DateOrder(fs.shortDateFormat);
  const int thisYear = DecodeDate(today).year;
  int year = thisYear, month = 0, day = 0;
  if (count == 2) {
    // Without a year: day and month in the order the format has them.
    const bool monthFirst = order[0] == 'M' || (order[0] == 'Y' && order[1] == 'M');
    month = monthFirst ? n[0] : n[1];
    day = monthFirst ? n[1] : n[0];
  } else {
    int yearDigits = 4;
    for (size_t i = 0; i < 3; ++i) {
      if (order[i] == 'Y') year = n[i], yearDigits = digits[i];
      if (order[i] == 'M') month = n[i];
      if (order[i] == 'D') day = n[i];
    }
    if (yearDigits <= 2) {
      // Two digits: the year within 50 years back and 49 ahead of this one.
      const int pivot = thisYear - 50;
      year += pivot / 100 * 100;
      if (year < pivot) year += 100;
    }
  }
  return TryEncodeDate(year, month, day, date);
}

bool ScanTime(std::string_view t, size_t& pos, const FormatSettings& fs, TDateTime& time) {
  int hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
  if (!ScanNumber(t, pos, 2, hour, digits)) return false;
  if (pos >= t.size() || t[pos] != fs.timeSeparator) return false;
  ++pos;
  if (!ScanNumber(t, pos, 2, minute, digits)) return false;
  if (pos < t.size() && t[pos] == fs.timeSeparator) {
    ++pos;
    if (!ScanNumber(t, pos, 2, second, digits)) return false;
    if (pos < t.size() && t[pos] == fs.decimalSeparator) {
      ++pos;
      if (!ScanNumber(t, pos, 3, msec, digits)) return false;
    }
  }
  SkipBlanks(t, pos);
  const std::string marks[2] = {fs.timeAMString.empty() ? "AM" : fs.timeAMString,
                                fs.timePMString.empty() ? "PM" : fs.timePMString};
  for (int i = 0; i < 2; ++i) {
    if (!StartsWithNoCase(t, pos, marks[i])) continue;
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + 12 * i;
    pos += marks[i].size();
    break;
  }
  if (hour > 23 || minute > 59 || second > 59) return false;
  time = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
  return true;
}

}  // namespace

bool TextToInt(std::string_view text, int& out, std::string& error) {
  const std::string_view t = TrimView(text);
  size_t pos = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  int64_t v = 0;
  bool ok = pos < t.size();
  for (; ok && pos < t.size(); ++pos) {
    ok = IsDigit(t[pos]) && (v = v * 10 + (t[pos] - '0')) <= int64_t{INT_MAX} + 1;
  }
  if (ok && t[0] == '-') v = -v;
  if (!ok || v > INT_MAX || v < INT_MIN) {
    error = "'" + std::string(text) + "' is not a valid integer value";
    return false;
  }
  out = static_cast<int>(v);
  return true;
}

bool TextToFloat(std::string_view text, const FormatSettings& fs, double& out, std::string& error) {
  const std::string_view t = TrimView(text);
  // The C form of the text: the locale's separator becomes '.', a '.' that is not it fails.
  std::string plain;
  size_t pos = 0;
  bool ok = true;
  if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) plain += t[pos++];
  bool digits = false, point = false;
  for (; pos < t.size() && ok; ++pos) {
    const char c = t[pos];
    if (IsDigit(c)) {
      digits = true;
      plain += c;
    } else if (c == fs.decimalSeparator && !point) {
      point = true;
      plain += '.';
    } else {
      break;
    }
  }
  ok = digits;
  if (ok && pos < t.size() && (t[pos] == 'e' || t[pos] == 'E')) {
    plain += t[pos++];
    if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) plain += t[pos++];
    ok = pos < t.size() && IsDigit(t[pos]);
    while (pos < t.size() && IsDigit(t[pos])) plain += t[pos++];
  }
  ok = ok && pos == t.size();
  double v = 0;
  if (ok) {
    const char* begin = plain.data() + (plain[0] == '+');
    const auto [end, ec] = std::from_chars(begin, plain.data() + plain.size(), v);
    ok = ec == std::errc() && end == plain.data() + plain.size() && std::isfinite(v);
  }
  if (!ok) {
    error = "'" + std::string(text) + "' is not a valid floating point value";
    return false;
  }
  out = v;
  return true;
}

bool TextToDateTime(std::string_view text, const FormatSettings& fs, TDateTime today, TDateTime& out,
                    std::string& error) {
  const std::string_view t = TrimView(text);
  size_t pos = 0;
  TDateTime date = 0, time = 0;
  bool ok = ScanDate(t, pos, fs, today, date);
  SkipBlanks(t, pos);
  if (ok && pos < t.size()) ok = ScanTime(t, pos, fs, time);
  if (!ok || pos != t.size()) {
    error = "'" + std::string(text) + "' is not a valid date and time";
    return false;
  }
  // Before 30 Dec 1899 the time still counts forwards from the day's start.
  out = date < 0 ? date - time : date + time;
  return true;
}

}  // namespace tb
