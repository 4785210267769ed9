#pragma once
// Earned income by year: the share of a booking that falls into a year, and the
// income statement for the tax return built on it, printed or as a CSV file.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;
class ReportPrinter;
struct Book_Rec;

// What one booking earned in the year that ends on the day before yearEnd.
struct YearShare {
  bool counts = false;
  TDateTime start = 0;  // the first night in the year (a cancellation: its arrival)
  int16_t nights = 0;
  double amount = 0;
};

// A let's nights from yearStart up to the night before yearEnd, and the same share of
// its Total; a cancellation counts whole, without nights, in the year of its arrival.
// Reserved dates and bookings of no value never count. A booking that does not end
// after it starts has no nights to share its Total by: it counts whole, with 0 nights,
// in the year of its arrival.
YearShare TaxYearShare(const Book_Rec& b, TDateTime yearStart, TDateTime yearEnd);
// The share in the tax year ending in taxYear on the settings' tax day. The year
// starts where the one before ended, so that with a tax day some years lack (29/02)
// no night falls in two years.
YearShare TaxYearShareIn(const Session& s, const Book_Rec& b, int taxYear);

// The date in `year` of a day and month that some years lack (29/02, 31/04): that
// month's last day there.
TDateTime DayInYear(int year, int month, int day);
// The first day of the tax year after the one ending in `year` (the setting TaxYr,
// month and day as four digits; "0405" when it holds no date).
TDateTime TaxYearEnd(const Session& s, int year);
// TaxYr as day and month; false, leaving them as they were, when it is not a date.
bool TaxYearDay(const Session& s, int& day, int& month);

// "Cotlyn Income to yyyy-mm-dd.csv", named after the tax year's last day.
std::string IncomeCsvName(const Session& s, int taxYear);
// The income CSV of the properties for the tax year ending in taxYear, as written.
std::string IncomeCsvText(const Session& s, int taxYear, const std::vector<int>& properties);

// The printed income statement: a page per property, continued on new pages with the
// title and the column heads when its lets pass the bottom. False when the job never
// began (printer busy or dialog cancelled).
bool PrintIncomeStatement(ReportPrinter& printer, Session& s, int taxYear, const std::vector<int>& properties);

}  // namespace tb
