#include "web/AvailabilityRows.h"

#include <algorithm>
#include <cstring>

#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/Text.h"
#include "store/Session.h"
#include "web/AvailabilityPages.h"
#include "web/WebFileSupport.h"

namespace tb {

namespace {

enum Field { SD, ED, RG, S, A, C, R, F, N, D, PN, NM, LowerC, MW, MM };
constexpr std::array<const char*, kRowFieldCount> kFieldNames = {"SD", "ED", "RG", "S",  "A", "C",  "R", "F",
                                                                 "N",  "D",  "PN", "NM", "c", "MW", "MM"};

// The field named at text[pos], the longest name winning ("NM" before "N"); -1 for none.
int FieldAt(const std::string& text, size_t pos) {
  int best = -1;
  size_t bestLength = 0;
  for (size_t f = 0; f < kRowFieldCount; ++f) {
    const size_t length = std::strlen(kFieldNames[f]);
    if (length > bestLength && text.compare(pos, length, kFieldNames[f]) == 0) {
      best = static_cast<int>(f);
      bestLength = length;
    }
  }
  return best;
}

// Days 0..6 of the week that are booked (bit d for day d).
unsigned BookedDays(const Status_Rec& w) {
  unsigned days = 0;
  for (int d = 0; d < 7; ++d)
    if (WebDayBooked(w, d)) days |= 1u << d;
  return days;
}

char StateLetter(const Status_Rec& w) {
  const unsigned days = BookedDays(w);
  return days == 0 ? 'A' : days == 0x7f ? 'B' : 'P';
}

char FuelLetter(const Status_Rec& w) { return w.FuelBand == 'L' || w.FuelBand == 'M' ? w.FuelBand : 'H'; }

std::string Weekday(TDateTime d) { return FormatDateTime("ddd", d); }

std::string PartLetText(const Status_Rec& w) {
  const unsigned days = BookedDays(w);
  const auto booked = [days](int d) { return (days & (1u << d)) != 0; };
  int firstFree = 0;
  while (firstFree < 7 && booked(firstFree)) ++firstFree;
  int nextBooked = firstFree;
  while (nextBooked < 7 && !booked(nextBooked)) ++nextBooked;
  if (booked(0) && booked(6))
    return "PART LET. Avail. " + Weekday(w.WeekDate + firstFree) + "-" + Weekday(w.WeekDate + nextBooked);
  if (booked(0)) return "PART LET. Avail. from " + Weekday(w.WeekDate + firstFree);
  return "PART LET. Avail. to " + Weekday(w.WeekDate + nextBooked);
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string Comment(const Status_Rec& w, char state) {
  if (state == 'P') return PartLetText(w);
  if (state == 'A') return w.RateComment;
  const std::string comment = TrimRight(w.RateComment);
  if (comment.empty()) return "LET";
  return w.WeekCost != 0 ? comment + " - LET" : comment;
}

std::string CurrencyPrefix(const Prop_Rec& p) {
  if (p.CS == '\xA3') return "&pound;";  // "£" in Windows-1252
  return p.CurrencySymbol();
}

// A short-break price as written: whole units above 1, else nothing.
std::string BreakPrice(const std::string& prefix, double price) {
  const double whole = RoundHalfEven(price);
  return whole > 1 ? prefix + std::to_string(static_cast<long long>(whole)) : std::string();
}

using FieldValues = std::array<std::string, kRowFieldCount>;

FieldValues RunFields(const Session& s, int n, const Status_Rec& first, const Status_Rec& last, const PageRun& run) {
  const Prop_Rec& p = s.Prop(n);
  const char* dateForm = run.wLDts ? "d mmmm yyyy" : "mmm d";
  const char state = StateLetter(last);
  const std::string prefix = CurrencyPrefix(p);
  const TDateTime lastEnd = last.WeekDate + 7;
  FieldValues v;
  v[SD] = FormatDateTime(dateForm, first.WeekDate);
  v[ED] = FormatDateTime(dateForm, lastEnd);
  v[RG] = FormatDateTime("mmm d", first.WeekDate);
  if (const std::string to = FormatDateTime("mmm d", last.WeekDate); to != v[RG]) v[RG] += " - " + to;
  v[S] = std::string(1, state);
  v[A] = state == 'A' ? "Yes" : state == 'B' ? "No" : "Part";
  v[C] = Comment(last, state);
  if (last.WeekCost != 0 && !(state == 'B' && run.wOLet)) v[R] = prefix + std::to_string(last.WeekCost);
  v[F] = std::string(1, FuelLetter(last));
  v[N] = std::to_string(last.WeekNo);
  v[D] = Weekday(first.WeekDate);
  v[PN] = std::to_string(n);
  v[NM] = p.PropName;
  if (!Trim(last.RateComment).empty()) {
    v[LowerC] = last.RateComment;
  } else {
    const std::string end = FormatDateTime("mmm yyyy", lastEnd);
    v[LowerC] = FormatDateTime("mmm yyyy", first.WeekDate) == end ? end
                                                                   : FormatDateTime("mmm", first.WeekDate) + " - " + end;
  }
  const double cost = last.WeekCost;
  const double minimum = last.MinCost;
  double weekend = minimum, midweek = minimum;
  if (s.common.CRWanted) {
    const CommonSettings& c = s.common;
    weekend = std::max(minimum, cost * c.WEFix / 100 + cost * c.WEpn * c.WEmin / 100);
    midweek = std::max(minimum, cost * c.OTFix / 100 + cost * c.OTpn * c.OTmin / 100);
  }
  v[MW] = BreakPrice(prefix, weekend);
  v[MM] = BreakPrice(prefix, midweek);
  for (std::string& value : v)
    if (Trim(value).empty()) value = "&nbsp;";
  return v;
}

// Fills the fields of a row, scanning to its end so that a field closing the row is
// filled too. False (with the three characters from the "@") at an "@" that names none.
bool Substitute(std::string& row, const FieldValues& v, std::string& badField) {
  for (size_t pos = row.find('@'); pos != std::string::npos; pos = row.find('@', pos)) {
    const int f = FieldAt(row, pos + 1);
    if (f < 0) {
      badField = row.substr(pos, 3);
      return false;
    }
    const std::string& value = v[static_cast<size_t>(f)];
    row.replace(pos, 1 + std::strlen(kFieldNames[static_cast<size_t>(f)]), value);
    pos += value.size();
  }
  return true;
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + with.size()))
    text.replace(pos, what.size(), with);
  return text;
}

}  // namespace

RowTemplate MakeRowTemplate(const std::string& fileText) {
  RowTemplate t;
  t.text = Trim(fileText);
  std::string squeezed;
  for (const char ch : t.text)
    if (ch != ' ') squeezed += (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
  for (size_t pos = squeezed.find("<TD"); pos != std::string::npos; pos = squeezed.find("<TD", pos + 3)) ++t.cells;
  for (size_t f = 0; f < kRowFieldCount; ++f)
    t.used[f] = t.text.find(std::string("@") + kFieldNames[f]) != std::string::npos;
  return t;
}

PageRows MakePageRows(const Session& s, int n, const TStArray& weeks, const RowTemplate& t, const PageRun& run,
                      const std::string& eol) {
  PageRows out;
  const bool separators = run.wMSep || run.wYSep;
  const char* sepKey = run.wMSep ? "mm" : "yyyy";
  const auto separatorBefore = [&](size_t i) {
    return separators &&
           (i == 0 || FormatDateTime(sepKey, weeks[i].WeekDate) != FormatDateTime(sepKey, weeks[i - 1].WeekDate));
  };
  const auto sameRun = [&](const Status_Rec& a, const Status_Rec& b) {
    return (!t.used[A] || StateLetter(a) == StateLetter(b)) && (!t.used[R] || a.WeekCost == b.WeekCost) &&
           (!t.used[F] || FuelLetter(a) == FuelLetter(b)) && (!t.used[C] || a.RateComment == b.RateComment);
  };
  int rowNo = 1;
  for (size_t i = 0; i < weeks.size(); ++rowNo) {
    if (separatorBefore(i))
      out.text += eol + "<tr class=\"sep\"><td colspan=\"" + std::to_string(t.cells) + "\">" +
                  FormatDateTime("mmmm yyyy", weeks[i].WeekDate) + "</td></tr>";
    size_t last = i;
    while (run.wCWks && last + 1 < weeks.size() && !separatorBefore(last + 1) && sameRun(weeks[last], weeks[last + 1]))
      ++last;
    std::string row = ReplaceAll(t.text, "@OE", rowNo % 2 ? "odd" : "even");
    if (!Substitute(row, RunFields(s, n, weeks[i], weeks[last], run), out.badField)) return out;
    out.text += eol + row;
    i = last + 1;
  }
  return out;
}

}  // namespace tb
