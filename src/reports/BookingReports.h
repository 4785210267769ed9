#pragma once
// The booking reports of the report window: the week range they cover, the
// availability report and the booking list for the local representative, as a text
// file or printed. (The status report is in StatusReport.h.)

#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;
class ReportPrinter;

// Weeks from the start of (startYear, startWeek) to the start of (endYear, endWeek);
// the end week itself lies outside. Week n of a year is property n's own week n.
struct WeekRange {
  int startYear = 0, startWeek = 1, endYear = 0, endWeek = 1;
};
TDateTime RangeFrom(const Session& s, const WeekRange& r, int n);
TDateTime RangeUntil(const Session& s, const WeekRange& r, int n);
// Whole weeks in the range on property n's weeks, counted by dates so that a range
// crossing a 53-week year keeps its last week; 0 or less for an empty or reversed range.
int RangeWeekCount(const Session& s, const WeekRange& r, int n);

// Makes the bookings of the given properties current. In view mode "C" only the
// current property's list is held: the others are read, without a lock, leaving the
// current one (whose nodes a window may hold) alone. False when a file could not be
// read (its message shown): a report would show that property as empty.
bool ReadReportBookings(Session& s, const std::vector<int>& properties);

inline constexpr const char* kAvailabilityFile = "Availability Report.txt";
inline constexpr const char* kBookingListFile = "Booking List.txt";

// "Availability Report.txt" as written: the heading line, then per property its
// period and the free periods in it (cancelled bookings ignored).
std::string AvailabilityText(const Session& s, const WeekRange& r, const std::vector<int>& properties);
// "Booking List.txt" as written: per property with a booking arriving in the range,
// its lines; "" when none has one.
std::string BookingListText(const Session& s, const WeekRange& r, const std::vector<int>& properties);
// The printed list: a page per property with bookings in the range, continued on new
// pages when long. The job is begun with the first property and ended with a beep;
// without any booking it says "No bookings found". False when nothing was printed.
bool PrintBookingList(ReportPrinter& printer, Session& s, const WeekRange& r, const std::vector<int>& properties);

}  // namespace tb
