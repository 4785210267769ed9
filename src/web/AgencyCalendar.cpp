#include <algorithm>
#include <vector>

#include "bookings/Rates.h"
#include "reports/BookingReports.h"
#include "store/Session.h"
#include "web/WebFileSupport.h"
#include "web/WebFiles.h"

namespace tb {

namespace {

struct DayRange {
  TDateTime start = 0, end = 0;  // both days inclusive
};

// Adds start..end, or lengthens the last range when it ends the day before start.
void AddRange(std::vector<DayRange>& ranges, TDateTime start, TDateTime end) {
  if (!ranges.empty() && ranges.back().end == start - 1)
    ranges.back().end = end;
  else
    ranges.push_back({start, end});
}

// Weeks without a price, from this week of the current year's rates on through the
// following years' files while there are any. Without a file for this year the
// calendar takes none: a later year alone says nothing about the weeks before it.
void AddClosedWeeks(const Session& s, int n, TDateTime today, std::vector<DayRange>& ranges) {
  const Prop_Rec& p = s.Prop(n);
  int year = DecodeDate(today).year;
  int week = FirstRateWeek(p, year, today, 1);
  Rate_Rec rates;
  for (; ReadRatesFile(RatesFilePath(p, year), rates); ++year, week = 1) {
    const int last = WeeksInYear(year, p);
    for (; week <= last; ++week) {
      if (rates.WeekRates[static_cast<size_t>(week - 1)].CostOrBand != 0) continue;
      const TDateTime start = WeekStart(year, week, p);
      AddRange(ranges, start, start + 6);
    }
  }
}

}  // namespace

std::string AgencyCalendarName(int n) { return "P" + std::to_string(n) + "-cal-json.txt"; }

std::string AgencyCalendarText(Session& s, int n) {
  const TDateTime today = DateOf(s.clock.Today());
  std::vector<DayRange> ranges;
  AddClosedWeeks(s, n, today, ranges);
  for (const Book_Buffer* b = s.Prop(n).Bookings.First(); b; b = b->Next) {
    const Book_Rec& r = b->Rec;
    // A booking without a night blocks no day (and would give a range ending before it starts).
    if (r.Status == Cancelled || today > r.EndD || !(r.EndD > r.StartD)) continue;
    AddRange(ranges, r.StartD, r.EndD - 1);
  }
  std::stable_sort(ranges.begin(), ranges.end(),
                   [](const DayRange& a, const DayRange& b) { return a.start < b.start; });
  std::string out = std::to_string(s.Prop(n).ID) + "\r\n{\"bookedRanges\":[";
  for (size_t i = 0; i < ranges.size(); ++i) {
    out += i == 0 ? "\r\n{\"start\": \"" : ",\r\n{\"start\": \"";
    AppendIsoDay(out, ranges[i].start);
    out += "\",\"end\": \"";
    AppendIsoDay(out, ranges[i].end);
    out += "\"}";
  }
  out += ranges.empty() ? "\r\n]}\r\n" : "]}\r\n";
  return out;
}

bool CreateAgencyCalendar(Session& s, int n, const std::string& path) {
  // A booking file that cannot be read would publish the property as free.
  if (!ReadReportBookings(s, {n})) return false;
  return WriteWebFile(s, path, AgencyCalendarText(s, n));
}

}  // namespace tb
