#pragma once
// The bookings history: for one property, who booked each week of five rate years, the
// chosen year first and the four before it beside it.

#include <array>
#include <string>
#include <vector>

#include "store/StatusRec.h"

namespace tb {

class Session;

inline constexpr int kHistoryYears = 5;
inline constexpr int kHistoryRows = 53;
// The first years whose columns the week calendar can work out, the oldest included.
inline constexpr int kHistoryFirstYearMin = 1900 + kHistoryYears;
inline constexpr int kHistoryFirstYearMax = 9998;

struct BookingHistory {
  std::array<int, kHistoryYears> years{};  // the first year, then each year before it
  // Per row: the week number and the start date of that week of the first year; a row
  // past the first year's last week has the number alone.
  std::vector<std::string> captions;
  // cells[c][row]: the week of years[c]; "" past that year's last week.
  std::array<std::vector<std::string>, kHistoryYears> cells;
};

// The column years for a first year: it and the four before it.
std::array<int, kHistoryYears> HistoryYears(int firstYear);
// Row caption: the plain week number, or the number and the week's start date.
std::string HistoryCaption(int weekNo, TDateTime weekStart);
std::string HistoryCaption(int weekNo);
// One week's text: "-" free, "P" + date booked for a partly booked week; for a week
// taken whole "- Reserved -" (reservation), "not let" (no price, nobody booked it) or
// the let's date booked.
std::string HistoryCell(const Status_Rec& w);
// Property n's history from firstYear back. Outside the all-properties view only the
// current property's bookings are held, so another property's file is read first.
BookingHistory BuildBookingHistory(Session& s, int n, int firstYear);

}  // namespace tb
