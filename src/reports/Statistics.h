#pragma once
// The booking statistics of the selected properties: income by year from a year start
// day of the user's choice, bookings by source over five years, and the nights booked
// ahead as they stood on the first of each month over six years.

#include <array>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;

// A year start day as typed ("dd/mm"): "" when valid, else the message that refuses it.
std::string CheckYearStartDay(const std::string& text, int& day, int& month);

struct StatsYear {
  TDateTime yearEnd = 0;  // the year's last day
  int nights = 0;
  double income = 0;
  double prepaid = 0;  // paid in the year for nights after it
};

struct Source_AR {
  std::string name;
  std::array<int, 5> count{};  // this chart year, then each year before
  int total = 0;
};

struct StatsResult {
  int analysed = 0;  // properties with at least one booking
  std::vector<std::string> names;
  std::string currency;  // of the first property analysed
  int chartYear = 0;     // C: the later year on the chart
  int forwardYear = 0;   // G: the earlier of C and this year
  std::array<StatsYear, 13> years{};  // newest first; the last only bounds the one before
  std::vector<Source_AR> sources;     // by total, highest first, then "  Totals"
  bool anySource = false;
  std::array<std::array<int, 12>, 6> forward{};  // [G - i][month]: nights ahead on the 1st
  long current = 0;                              // nights of lets still to come
  std::vector<std::string> noSource;             // bookings without a source, as lines
};

// Analyses the given properties' bookings as held (read them first in view mode "C").
StatsResult AnalyseBookings(const Session& s, const std::vector<int>& properties, int startDay, int startMonth);

// The result as the window shows it: lines of text with tabs, each bold and/or
// underlined, and the tab stops (points) of the table it belongs to.
struct StatsLine {
  std::string text;
  bool bold = false;
  bool underline = false;
  std::vector<int> tabs;
};
std::vector<StatsLine> StatsLines(const StatsResult& r);

// "NoSource.txt" in the session's private temporary folder: it holds customers' names.
std::string NoSourcePath(const Session& s);

}  // namespace tb
