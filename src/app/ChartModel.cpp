#include "app/ChartModel.h"

#include <algorithm>
#include <cmath>

#include "bookings/ChartStyle.h"
#include "bookings/BookingStatus.h"
#include "bookings/Rates.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

namespace {

bool ValidProperty(const Session& s, int n) { return n >= 1 && n <= s.NumProps(); }

// The property whose calendar the chart's weeks follow: the current one in "C",
// property 1 in "M" (its header row).
int CalendarProperty(const Session& s) { return s.common.AllPropertiesView() ? 1 : s.CurrentProperty; }

bool HasFuel(const Prop_Rec& p) { return p.FuelChg != 0; }

bool PartlyLet(const Status_Rec& w) { return w.DayMask != 0 && w.DayMask != kWholeWeek; }
bool DayTaken(const Status_Rec& w, int day) { return day >= 0 && day <= 6 && (w.DayMask & (1 << day)) != 0; }

int FirstOccupiedDay(const Status_Rec& w) {
  for (int i = 0; i <= 6; ++i)
    if (DayTaken(w, i)) return i;
  return 0;
}

const Status_Rec& WeekAt(const Session& s, const ChartPlace& place) {
  return s.Prop(place.property).Weeks[static_cast<size_t>(place.week)];
}

// The day the pointer is on, where the chart draws day cells (a partly let week);
// elsewhere the week counts as a whole.
int DayShown(const Status_Rec& w, const ChartPlace& place) { return PartlyLet(w) && place.day >= 0 ? place.day : 0; }

std::string Money(const Prop_Rec& p, unsigned amount) { return p.CurrencySymbol() + std::to_string(amount); }

std::string Join(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += '\r';
    out += line;
  }
  return out;
}

std::string FreeWeekHint(const Prop_Rec& p, const Status_Rec& w) {
  std::string rent = "Rent=" + Money(p, w.WeekCost);
  if (HasFuel(p)) rent += "  Fuel charge=" + Money(p, w.WeekFuel);
  return Join({"Property: " + p.PropName, "Week available.   " + w.RateComment,
               "Week starts: " + FormatDateTime("ddd dd mmm yyyy", w.WeekDate), rent});
}

std::string PartlyLetHint(const Prop_Rec& p, const Status_Rec& w, TDateTime date) {
  std::string rent = "Weekly rent=" + Money(p, w.WeekCost);
  if (HasFuel(p)) rent += "  Fuel=" + Money(p, w.WeekFuel);
  return Join({FormatDateTime("ddd dd mmm yyyy", date) + " - available", "Property: " + p.PropName,
               "Week partly let.   " + w.RateComment, rent});
}

std::string OccupiedHint(const Session& s, int n, const Status_Rec& w, TDateTime date) {
  const Prop_Rec& p = s.Prop(n);
  const Book_Buffer* b = FindBookingAt(s, n, date).first;
  // Taken without a booking: the rates file holds the week back.
  if (!b) return Join({"Property: " + p.PropName, "Week not available - " + w.RateComment});
  const Book_Rec& r = b->Rec;
  const TDateTime today = s.clock.Today();
  const std::string who = IsPersonalName(r.Surname) ? "Reserved (personal)" : "Booked by " + r.Fnames + " " + r.Surname;
  const long nights = std::lround(r.EndD - r.StartD);
  const std::string stay = FormatDateTime("ddd d mmm", r.StartD) + " - " + FormatDateTime("ddd d mmm", r.EndD) +
                           "   " + std::to_string(nights) + " days";
  const int eff = EffectiveStatus(r, p, today);
  std::string status;
  if (eff < DepositOverdue) {
    // An unacknowledged balance still needs its instructions sent.
    status = eff == Paid && !r.Has(BalAck) ? "PAID.  " : std::string(StatusText(eff)) + ".  ";
  }
  status += DueText(r, p, today);
  std::string out = Join({"Property: " + p.PropName, who, stay});
  if (!w.RateComment.empty()) out += "\r" + w.RateComment;
  return out + "\r" + status;
}

}  // namespace

ChartCalendar BuildWeekCalendar(const Session& s) {
  ChartCalendar cal;
  const int n = CalendarProperty(s);
  if (!ValidProperty(s, n)) return cal;
  cal.W0 = WeeksInYear(s.SeasonYear[0], s.Prop(n));
  cal.W1 = WeeksInYear(s.SeasonYear[1], s.Prop(n));
  return cal;
}

CanvasSize ChartCanvasSize(const Session& s, const ChartCalendar& cal) {
  if (s.common.AllPropertiesView())
    return {chart::kWeekWidth * cal.Weeks() + 1, chart::kPropertyHeight * std::max(0, s.NumProps())};
  const bool fuel = ValidProperty(s, s.CurrentProperty) && HasFuel(s.Prop(s.CurrentProperty));
  return {fuel ? chart::kWidthCFuel : chart::kWidthC, chart::kRowHeight * cal.Weeks()};
}

int TodayScrollPosition(const Session& s, const ChartCalendar& cal) {
  const int n = CalendarProperty(s);
  if (!ValidProperty(s, n)) return 0;
  const TDateTime today = s.clock.Today();
  const int year = DecodeDate(today).year;
  // Early in January today may lie before week 1 of this year: then it is in the
  // previous year's last week, which the W0 offset reaches.
  const int weeks = static_cast<int>(std::floor((today - WeekStart(year, 1, s.Prop(n))) / 7));
  const int row = std::max(0, (s.SeasonYear[1] == year ? cal.W0 : 0) + weeks);
  return row * (s.common.AllPropertiesView() ? chart::kWeekWidth : chart::kRowHeight);
}

ChartPlace LocatePoint(const Session& s, int x, int y) {
  ChartPlace place;
  if (x < 0 || y < 0) return place;
  const int row = y / chart::kRowHeight;
  int n = 0;
  int week = 0;
  int day = -1;
  bool upper = false;
  if (s.common.AllPropertiesView()) {
    n = row / 2 + 1;
    week = x / chart::kWeekWidth;
    upper = row % 2 == 0;
    if (!upper) day = std::min((x - chart::kWeekWidth * week) / chart::kDayWidth, 6);
  } else {
    n = s.CurrentProperty;
    week = row;
    // Day i covers 180 + 10 i < x <= 190 + 10 i; the cells' left edge counts as day 0.
    if (x >= chart::kOccX1 && x < chart::kOccX2) day = std::max(0, x - chart::kOccX1 - 1) / chart::kDayWidth;
  }
  if (!ValidProperty(s, n) || week >= static_cast<int>(s.Prop(n).Weeks.size())) return place;
  place.property = n;
  place.week = week;
  place.day = day;
  place.upperRow = upper;
  return place;
}

ClickTarget DecideClick(const Session& s, const ChartPlace& place, int x) {
  ClickTarget t;
  if (place.property == 0) return t;
  const Status_Rec& w = WeekAt(s, place);
  t.valid = true;
  t.date = w.WeekDate;
  if (w.DayMask == 0) return t;
  t.existing = true;
  if (w.DayMask == kWholeWeek) return t;
  const bool onDay = s.common.AllPropertiesView() ? !place.upperRow
                                                  : x >= chart::kOccX1 && x < chart::kOccX2 && place.day >= 0;
  if (!onDay) {
    t.date += FirstOccupiedDay(w);
    return t;
  }
  t.date += place.day;
  t.existing = DayTaken(w, place.day);
  return t;
}

HintKey HintKeyAt(const Session& s, const ChartPlace& place) {
  if (place.property == 0) return {};
  const Status_Rec& w = WeekAt(s, place);
  return {place.property, w.WeekDate + DayShown(w, place)};
}

std::string ChartHint(const Session& s, const ChartPlace& place, int x) {
  if (place.property == 0) return "";
  const int n = place.property;
  const Prop_Rec& p = s.Prop(n);
  const Status_Rec& w = WeekAt(s, place);
  if (!s.common.AllPropertiesView()) {
    // Only the occupancy, comments and status columns of a let week say anything.
    if (x < chart::kOccX1 || x > chart::kMarkX2 - 1 || w.DayMask == 0) return "";
    if (w.DayMask == kWholeWeek) return OccupiedHint(s, n, w, w.WeekDate);
    if (!DayTaken(w, place.day)) return "";
    return OccupiedHint(s, n, w, w.WeekDate + place.day);
  }
  if (w.DayMask == 0) return FreeWeekHint(p, w);
  if (w.DayMask == kWholeWeek) return OccupiedHint(s, n, w, w.WeekDate);
  const TDateTime date = w.WeekDate + DayShown(w, place);
  if (place.upperRow || !DayTaken(w, place.day)) return PartlyLetHint(p, w, date);
  return OccupiedHint(s, n, w, date);
}

std::pair<std::string, std::string> SplitPropertyName(const std::string& name,
                                                      const std::function<int(const std::string&)>& width,
                                                      int columnWidth) {
  if (width(name) <= columnWidth) return {name, ""};
  for (size_t pos = name.rfind(' '); pos != std::string::npos && pos > 0; pos = name.rfind(' ', pos - 1)) {
    std::string first = name.substr(0, pos);
    if (width(first) <= columnWidth) return {std::move(first), name.substr(pos + 1)};
  }
  const size_t half = name.size() / 2;
  return {name.substr(0, half) + "-", name.substr(half)};
}

}  // namespace tb
