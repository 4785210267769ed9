#pragma once
// The printed status report: week by week, per property, the price and band, whether
// the week is free, let or partly let (day by day), who is staying, the status mark
// and the fuel price, in the booking chart's colours.

#include <vector>

#include "reports/BookingReports.h"

namespace tb {

// Prints the range's weeks (counted on the first property's weeks) for the properties,
// asking first when their changeover days differ. Properties that do not fit across
// one page side by side are printed in groups that do, each group from a new page.
// False when nothing was printed (the question or the print dialog cancelled).
bool PrintStatusReport(ReportPrinter& printer, Session& s, const WeekRange& r, const std::vector<int>& properties);

// How many properties of those given fit side by side on a page width in millimetres:
// each needs its fixed columns (37 mm, 44.5 with the fuel column shown for fewer than
// three), at least 1.
int StatusReportGroupSize(const Session& s, const std::vector<int>& properties, double pageWidthMm);

}  // namespace tb
