#pragma once
// What the publishing window decides besides the page update: its week range and the
// rules that keep it sensible, where the range is kept between runs, "View selected"
// and "Upload selected" (the pages, and the property information, handed to Ferrit).

#include <string>
#include <vector>

#include "web/AvailabilityPages.h"

namespace tb {

class Session;

struct PubRange {
  int startYear = 0;  // 0: none chosen
  int startWeek = 1;
  int endYear = 0;
  int endWeek = 53;
  bool operator==(const PubRange&) const = default;
};

// The years the window offers: the current year and the three following.
std::vector<int> PublishYears(const Session& s);
// The first week worth publishing in `year`: this week in the current year (week 1 of
// property 1's weeks counted from), else 1.
int EarliestStartWeek(const Session& s, int year);

// The range kept in the preference block; with none kept, from this week to the end of
// next year. A start year before the current year (kept
// from an earlier year) moves to the current year; an end year before the start follows it.
PubRange InitialPubRange(const Session& s);
PubRange StartYearChosen(const Session& s, PubRange r, int year);
PubRange EndYearChosen(const Session& s, PubRange r, int year);
// Into the preference block, then the registry.
bool StorePubRange(Session& s, const PubRange& r);

// "View selected": each distinct page opened once; a missing one gets its box.
void ViewSelectedPages(Session& s, const std::vector<int>& properties);

// "Upload selected" (only with the common "Site"): the lines for the message pane.
std::vector<PaneLine> UploadSelectedPages(Session& s, const std::vector<int>& properties);

}  // namespace tb
