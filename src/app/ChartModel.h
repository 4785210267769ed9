#pragma once
// What the chart shows where: its calendar and size, the place under a point, what a
// click there means, and the hint shown there. No drawing here.

#include <functional>
#include <string>
#include <utility>

#include "platform/DateTime.h"

namespace tb {

class Session;

// The weeks of the two rate years on show: W0 of the first, W1 of the second
// (the current property's calendar in "C", property 1's in "M").
struct ChartCalendar {
  int W0 = 0, W1 = 0;
  int Weeks() const { return W0 + W1; }
};
ChartCalendar BuildWeekCalendar(const Session& s);

// The canvas the chart is drawn on, in pixels: "C" 507 (539 with fuel) x 20 per week;
// "M" 71 per week + 1 x 40 per property (the header strip and the property column
// are drawn beside it).
struct CanvasSize {
  int width = 0, height = 0;
};
CanvasSize ChartCanvasSize(const Session& s, const ChartCalendar& cal);
// The scroll position that brings the current week into view (vertical in "C",
// horizontal in "M").
int TodayScrollPosition(const Session& s, const ChartCalendar& cal);

// The property, week and day under a point of the canvas.
struct ChartPlace {
  int property = 0;      // 0 when the point is off the chart
  int week = -1;         // index into the property's week table
  int day = -1;          // 0..6 on a day cell, else -1
  bool upperRow = false;  // "M": the price row
};
ChartPlace LocatePoint(const Session& s, int x, int y);

// What a left click at a point opens: the date and whether a booking is there.
struct ClickTarget {
  bool valid = false;
  TDateTime date = 0;
  bool existing = false;
};
ClickTarget DecideClick(const Session& s, const ChartPlace& place, int x);

// The date the pointer is on (with the property in "M"); the hint changes when it does.
struct HintKey {
  int property = 0;
  TDateTime date = 0;
  bool operator==(const HintKey&) const = default;
};
HintKey HintKeyAt(const Session& s, const ChartPlace& place);
// The hint for a point, or "" where none is shown. Lines are separated by "\r".
std::string ChartHint(const Session& s, const ChartPlace& place, int x);
inline constexpr const char* kPropertyColumnHint = "Right click shows context menu for selected property";

// A property name for the "M" column: one line when it fits, else split at the last
// space that lets the first line fit, else the first half + "-" and the rest.
// width(text) measures a text in pixels.
std::pair<std::string, std::string> SplitPropertyName(const std::string& name,
                                                      const std::function<int(const std::string&)>& width,
                                                      int columnWidth);

}  // namespace tb
