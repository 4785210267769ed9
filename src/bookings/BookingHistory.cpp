#include "bookings/BookingHistory.h"

#include <algorithm>

#include "bookings/BookingStatus.h"
#include "bookings/Rates.h"
#include "bookings/WeekTable.h"
#include "platform/DateTime.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

std::array<int, kHistoryYears> HistoryYears(int firstYear) {
  std::array<int, kHistoryYears> years{};
  for (int c = 0; c < kHistoryYears; ++c) years[static_cast<size_t>(c)] = firstYear - c;
  return years;
}

std::string HistoryCaption(int weekNo) { return std::to_string(weekNo); }

std::string HistoryCaption(int weekNo, TDateTime weekStart) {
  // The chart's week rows show their start the same way.
  return HistoryCaption(weekNo) + " " + FormatDateTime("dd mmm yyyy", weekStart);
}

std::string HistoryCell(const Status_Rec& w) {
  if (w.DayMask == 0) return "-";
  // A week let whole keeps its status on day 0 only; days after it filled mean a short
  // let, also where it lies on a week the rates close (which marks every day taken).
  const bool shortLet = std::any_of(w.DayStatus.begin() + 1, w.DayStatus.end(), [](uint8_t d) { return d != 0; });
  if (w.DayMask != kWholeWeek || shortLet) return "P" + w.BookedDate;
  // A week the rates close is marked taken with no booking behind it; a booking on it
  // says who booked, which is what the history is for.
  if (w.Closed && !w.Booked) return "not let";
  if ((w.DayStatus[0] & ~kChangeoverBit) == Reserved) return "- Reserved -";
  return w.BookedDate;
}

BookingHistory BuildBookingHistory(Session& s, int n, int firstYear) {
  if (!s.common.AllPropertiesView() && n != s.CurrentProperty) ReadBookings(s, n, false, false);
  const Prop_Rec& p = s.Prop(n);
  BookingHistory h;
  h.years = HistoryYears(firstYear);
  for (int c = 0; c < kHistoryYears; ++c) {
    const int year = h.years[static_cast<size_t>(c)];
    TStArray weeks(static_cast<size_t>(WeeksInYear(year, p)));
    BuildWeekTable(s, n, weeks, year, 1, false);
    std::vector<std::string>& column = h.cells[static_cast<size_t>(c)];
    column.assign(kHistoryRows, std::string());
    for (size_t i = 0; i < weeks.size() && i < column.size(); ++i) column[i] = HistoryCell(weeks[i]);
    if (c == 0) {
      for (int row = 0; row < kHistoryRows; ++row)
        h.captions.push_back(row < static_cast<int>(weeks.size())
                                 ? HistoryCaption(row + 1, weeks[static_cast<size_t>(row)].WeekDate)
                                 : HistoryCaption(row + 1));
    }
  }
  return h;
}

}  // namespace tb
