#pragma once
// The overdue list on paper: "Overdue Payments List", one line per row.

#include <vector>

#include "reports/OverdueList.h"

namespace tb {

class ReportPrinter;

// Lays the rows out in the order given, in cells measured in millimetres, a new page
// when a row would pass 20 mm above the page's foot. False when the job did not begin
// (printer busy or cancelled).
bool PrintOverdueList(ReportPrinter& printer, const std::vector<OverdueRow>& rows);

}  // namespace tb
