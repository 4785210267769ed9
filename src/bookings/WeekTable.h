#pragma once
// The week table: one entry per week with its prices and who is staying on which day.

#include "store/StatusRec.h"

namespace tb {

class Session;

// The weeks of the two rate years on show (SeasonYear) for property n, into its Weeks.
// webView shows a Hold with ShowAsLet as DepositPaid (web pages); the chart passes false.
void BuildWeekTable(Session& s, int n, bool webView);
// The same into a caller's array, already sized to the weeks wanted, starting at week
// firstWeek of rate year firstYear.
void BuildWeekTable(Session& s, int n, TStArray& weeks, int firstYear, int firstWeek, bool webView);
// The number of weeks of the two rate years on show for property n.
int ChartWeekCount(const Session& s, int n);
// Index of the week holding `date` (whole weeks from the first week's start).
int WeekIndex(const TStArray& weeks, TDateTime date);

}  // namespace tb
