#include <algorithm>
#include <chrono>
#include <cmath>

#include "bookings/Rates.h"
#include "bookings/WeekTable.h"
#include "platform/Escape.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "reports/BookingReports.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "web/WebFileSupport.h"
#include "web/WebFiles.h"

namespace tb {

namespace {

// Runs of three or more equal letters as their length and the letter.
std::string Compressed(std::string_view days) {
  std::string out;
  for (size_t i = 0; i < days.size();) {
    size_t j = i;
    while (j < days.size() && days[j] == days[i]) ++j;
    const size_t run = j - i;
    if (run >= 3)
      out += std::to_string(run) + days[i];
    else
      out.append(run, days[i]);
    i = j;
  }
  return out;
}

// Property n's availability code for navDays days from today; weeks is working space.
std::string AvailabilityCode(Session& s, int n, TDateTime today, int navDays, TStArray& weeks) {
  if (navDays <= 0) return "";
  const Prop_Rec& p = s.Prop(n);
  const YearWeek first = WeekHolding(p, today);
  const int offset = std::clamp(static_cast<int>(std::lround(today - WeekStart(first.year, first.week, p))), 0, 6);
  weeks.assign(static_cast<size_t>((navDays - 1) / 7 + 2), Status_Rec{});
  BuildWeekTable(s, n, weeks, first.year, first.week, true);
  std::string days;
  days.reserve(weeks.size() * 7);
  for (size_t i = 0; i < weeks.size() && days.size() < static_cast<size_t>(navDays); ++i)
    for (int d = i == 0 ? offset : 0; d <= 6; ++d) days += WebDayBooked(weeks[i], d) ? 'B' : 'A';
  if (days.size() > static_cast<size_t>(navDays)) days.resize(static_cast<size_t>(navDays));
  const size_t booked = days.find_last_not_of('A');
  days.resize(booked == std::string::npos ? 0 : booked + 1);
  return Compressed(days);
}

// One object of the departure list; objects after the first are preceded by a comma.
void AppendDeparture(std::string& out, const Book_Rec& b, bool first) {
  out += first ? "{\"s\":\"" : ",{\"s\":\"";
  AppendIsoDay(out, b.StartD);
  out += "\",\"e\":\"";
  AppendIsoDay(out, b.EndD);
  out += b.Has(NoClean) ? "\",\"c\":0,\"n\":\"" : "\",\"c\":1,\"n\":\"";
  out += PhpJsonQuoted(b.Special.view());
  out += "\"}";
}

// The lets leaving from today until `days` days ahead, as a JSON array; "" when none.
std::string DepartureList(const Session& s, int n, TDateTime today, int days) {
  const Book_Buffer* b = s.Prop(n).Bookings.Last();
  // Back from the end to the last let that left before today: the list is in arrival
  // order, so everything leaving from today on lies after it.
  while (b && b->Prev && (b->Rec.Status == Cancelled || !(b->Rec.EndD < today))) b = b->Prev;
  if (b && (b->Rec.EndD < today || b->Rec.Status == Cancelled)) b = b->Next;
  const TDateTime stop = today + days;
  std::string out = "[";
  for (; b; b = b->Next) {
    if (b->Rec.Status == Cancelled) continue;
    if (b->Rec.EndD >= stop) break;
    AppendDeparture(out, b->Rec, out.size() == 1);
  }
  return out.size() == 1 ? "" : out + "]";
}

}  // namespace

std::string PropInfoText(Session& s) {
  const TDateTime today = DateOf(s.clock.Today());
  const int props = s.NumProps();
  std::string out = "<?php\r\n$prop = array(\r\n\"-select property-\",\r\n";
  for (int n = 1; n <= props; ++n) out += "\"" + PhpDoubleQuoted(s.Prop(n).PropName) + "\",\r\n";
  out += ");\r\n\r\n";
  const DateParts d = DecodeDate(today);
  out += "$nadays = " + std::to_string(s.common.NAvDays) + ";\r\n";
  out += "$startdate = mktime(0,0,0," + std::to_string(d.month) + "," + std::to_string(d.day) + "," +
         std::to_string(d.year) + ");\r\n\r\n";
  TStArray weeks;
  for (int n = 1; n <= props; ++n)
    out += "$a[" + std::to_string(n) + "]='" + AvailabilityCode(s, n, today, s.common.NAvDays, weeks) + "';\r\n";
  out += "\r\n$uid = [0";
  for (int n = 1; n <= props; ++n) out += "," + std::to_string(s.Prop(n).ID);
  out += "];\r\n\r\n";
  if (s.common.wUCD > 0) {
    for (int n = 1; n <= props; ++n) {
      const std::string list = DepartureList(s, n, today, s.common.wUCD);
      if (!list.empty()) out += "$c[" + std::to_string(s.Prop(n).ID) + "]='" + list + "';\r\n";
    }
  }
  out += "?>\r\n";
  return out;
}

bool CreateWebData(Session& s, const std::string& path) {
  const auto started = std::chrono::steady_clock::now();
  std::vector<int> properties;
  for (int n = 1; n <= s.NumProps(); ++n) properties.push_back(n);
  // A booking file that cannot be read (its message shown) would publish its
  // property as free.
  if (!ReadReportBookings(s, properties)) return false;
  if (!WriteWebFile(s, path, PropInfoText(s))) return false;
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - started;
  WriteLog(s, Format("CreateWebData created file %s Elapsed=%.0f mS", {PathText(path), elapsed.count()}));
  return true;
}

}  // namespace tb
