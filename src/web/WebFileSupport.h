#pragma once
// What the web-file writers share: the date form the web site reads,
// the week that holds a day, and the one way a finished file is put in place.

#include <string>

#include "platform/DateTime.h"

namespace tb {

class Session;
struct Prop_Rec;
struct Status_Rec;

// Whether day d (0..6) of a web week table's week is booked. Holds stay on offer unless
// marked to show as let, which the web week table already shows as paid; a week
// without a price is booked whatever is in it.
bool WebDayBooked(const Status_Rec& w, int day);

// The rate year and week (from 1) holding `day` on property p's weeks: week 1 of the
// day's calendar year, or of the year before while the day comes before that.
struct YearWeek {
  int year = 0;
  int week = 1;
};
YearWeek WeekHolding(const Prop_Rec& p, TDateTime day);

// The first week a rates-driven file starts from in year `year` (the calendar year of
// today): whole weeks from week 1's start to today, plus `ahead`, never before week 1.
int FirstRateWeek(const Prop_Rec& p, int year, TDateTime today, int ahead);

// Writes text to path whole; on failure logs "QZ1080J Should not occur. Cannot write
// to file <path>" and leaves the old file.
bool WriteWebFile(Session& s, const std::string& path, const std::string& text);

}  // namespace tb
