#include "bookings/WeekTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bookings/BookingStatus.h"
#include "bookings/Rates.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr size_t kNamesMax = 30;

std::string Cut(std::string s, size_t max) {
  if (s.size() > max) s.resize(max);
  return s;
}

// A price from the file; a negative one (only a damaged file has it) is no price.
int32_t Price(int32_t v) { return v < 0 ? 0 : v; }

// The week's cost, fuel and minimum from the year's rates; a week without a price in a
// file that has band prices is not to be let.
void FillWeekRates(Status_Rec& w, const Rate_Rec& rates, bool allView) {
  static const WeekRate kNoEntry{};
  const WeekRate& e = w.WeekNo >= 1 && w.WeekNo <= rates.WeekRates.size() ? rates.WeekRates[w.WeekNo - 1] : kNoEntry;
  w.MinCost = Price(rates.MinCost);
  const int32_t v = e.CostOrBand;
  if (v >= 1 && v <= 6) {
    w.RateBand = static_cast<uint8_t>(v);
    w.WeekCost = Price(rates.BandCost[static_cast<size_t>(v - 1)]);
  } else {
    w.WeekCost = Price(v);
    w.Closed = v == 0 && rates.BandCost[0] != 0;
    if (w.Closed) {
      w.DayMask = kWholeWeek;
      w.DayStatus[0] = w.DayEffStatus[0] = Reserved;
      w.WeekNames = allView && !e.WeekComment.empty() ? Cut(e.WeekComment, kNamesMax) : "- Reserved -";
    }
  }
  w.FuelBand = e.FuelBand;
  switch (e.FuelBand) {
    case 'L': w.WeekFuel = Price(rates.FuelCost[0]); break;
    case 'M': w.WeekFuel = Price(rates.FuelCost[1]); break;
    case 'H': w.WeekFuel = Price(rates.FuelCost[2]); break;
    default: break;
  }
  w.RateComment = e.WeekComment;
}

void FillRates(const Session& s, int n, TStArray& weeks, int firstYear, int firstWeek) {
  const Prop_Rec& p = s.Prop(n);
  const bool allView = s.common.AllPropertiesView();
  int year = firstYear;
  int weekNo = firstWeek;
  TDateTime date = WeekStart(year, weekNo, p);
  TDateTime boundary = WeekStart(year + 1, 1, p);
  Rate_Rec rates;
  LoadYearRates(s, n, year, rates);
  for (size_t i = 0; i < weeks.size(); ++i) {
    if (i > 0) {
      date += 7;
      ++weekNo;
    }
    if (date >= boundary) {
      weekNo = 1;
      ++year;
      boundary = WeekStart(year + 1, 1, p);
      LoadYearRates(s, n, year, rates);
    }
    Status_Rec& w = weeks[i];
    w.WeekDate = date;
    w.RateYear = static_cast<uint16_t>(year);
    w.WeekNo = static_cast<uint16_t>(weekNo);
    FillWeekRates(w, rates, allView);
  }
}

// Marks the nights of one let, from its first night in week k on.
void MarkLet(TStArray& weeks, size_t k, int d, int nights, uint8_t st, uint8_t eff, const std::string& surname,
             const std::string& booked) {
  for (size_t j = 0; nights > 0 && k + j < weeks.size(); ++j, d = 0) {
    Status_Rec& w = weeks[k + j];
    w.Booked = true;
    if (d == 0 && nights >= 7) {
      w.DayMask = kWholeWeek;
      w.WeekNames = Cut(surname, kNamesMax);
      w.BookedDate = booked;
      w.DayStatus[0] = st;
      w.DayEffStatus[0] = eff;
      nights -= 7;
      continue;
    }
    if (!w.WeekNames.empty()) w.WeekNames += "+ ";
    w.WeekNames = Cut(w.WeekNames + surname + " ", kNamesMax);
    if (w.BookedDate.empty()) w.BookedDate = booked;
    for (int i = d; i <= 6 && nights > 0; ++i, --nights) {
      w.DayMask = static_cast<uint8_t>(w.DayMask | (1 << i));
      w.DayStatus[static_cast<size_t>(i)] = st;
      w.DayEffStatus[static_cast<size_t>(i)] = eff;
      // The guests leave the next morning: a changeover inside the week.
      if (nights == 1 && i < 6) w.DayStatus[static_cast<size_t>(i + 1)] |= kChangeoverBit;
    }
    if (j == 0) w.DayStatus[static_cast<size_t>(d)] |= kChangeoverBit;
  }
}

void FillOccupancy(const Session& s, int n, TStArray& weeks, bool webView) {
  const Prop_Rec& p = s.Prop(n);
  const TDateTime first = weeks.front().WeekDate;
  const TDateTime rangeEnd = weeks.back().WeekDate + 7;
  const TDateTime today = s.clock.Today();
  for (const Book_Buffer* b = p.Bookings.First(); b; b = b->Next) {
    const Book_Rec& r = b->Rec;
    if (r.StartD >= rangeEnd) break;  // the list is in start order
    if (r.EndD <= first || r.Status == Cancelled) continue;
    const TDateTime firstNight = std::max(r.StartD, first);
    const TDateTime end = std::min(r.EndD, rangeEnd);
    // Week starts are seven days apart from the first one. The test also turns away
    // dates that are not numbers.
    const double weeksIn = std::floor((firstNight - first) / 7);
    if (!(weeksIn >= 0 && weeksIn < static_cast<double>(weeks.size()))) continue;
    const auto k = static_cast<size_t>(weeksIn);
    Status_Rec& w = weeks[k];
    if (r.Has(FlagSp)) w.SpecialMark = 8;
    uint8_t st = r.Status;
    if (webView && st == Hold && r.Has(ShowAsLet)) st = DepositPaid;
    const int d = std::clamp(static_cast<int>(std::lround(firstNight - w.WeekDate)), 0, 6);
    const int nights = static_cast<int>(std::lround(end - firstNight));
    MarkLet(weeks, k, d, nights, st, static_cast<uint8_t>(EffectiveStatus(r, p, today)), Trim(r.Surname),
            ShortDateText(r.DateB));
  }
}

}  // namespace

int ChartWeekCount(const Session& s, int n) {
  const Prop_Rec& p = s.Prop(n);
  return WeeksInYear(s.SeasonYear[0], p) + WeeksInYear(s.SeasonYear[1], p);
}

int WeekIndex(const TStArray& weeks, TDateTime date) {
  if (weeks.empty()) return -1;
  const double k = std::trunc((date - weeks.front().WeekDate) / 7);
  // A date no table could hold (or not a number) is outside every table.
  if (!(std::fabs(k) < std::numeric_limits<int>::max())) return -1;
  return static_cast<int>(k);
}

void BuildWeekTable(Session& s, int n, bool webView) {
  TStArray& weeks = s.Prop(n).Weeks;
  weeks.assign(static_cast<size_t>(ChartWeekCount(s, n)), Status_Rec{});
  BuildWeekTable(s, n, weeks, s.SeasonYear[0], 1, webView);
}

void BuildWeekTable(Session& s, int n, TStArray& weeks, int firstYear, int firstWeek, bool webView) {
  std::fill(weeks.begin(), weeks.end(), Status_Rec{});
  if (weeks.empty()) return;
  FillRates(s, n, weeks, firstYear, firstWeek);
  FillOccupancy(s, n, weeks, webView);
}

}  // namespace tb
