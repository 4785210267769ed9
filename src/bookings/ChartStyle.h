#pragma once
// The chart's fixed geometry, colours and marks. The mouse handling relies on the same
// pixel geometry as the drawing, so both take it from here.

#include <cstdint>

#include "platform/Rgb.h"
#include "store/StatusRec.h"

namespace tb {

namespace chart {

// View mode "C": one 20-pixel row per week.
inline constexpr int kRowHeight = 20;
inline constexpr int kWidthC = 507;      // without the fuel column
inline constexpr int kWidthCFuel = 539;  // with it
// Column edges in "C" (a cell covers x1..x2, its border shared with the next cell).
inline constexpr int kWeekNoX1 = 0, kWeekNoX2 = 27;
inline constexpr int kDateX1 = 27, kDateX2 = 120;
inline constexpr int kCostX1 = 120, kCostX2 = 180;
inline constexpr int kOccX1 = 180, kOccX2 = 251;
inline constexpr int kNamesX1 = 251, kNamesX2 = 486;
inline constexpr int kMarkX1 = 486, kMarkX2 = 506;
inline constexpr int kFuelX1 = 506, kFuelX2 = 538;
inline constexpr int kBandBoxX1 = 166, kBandBoxX2 = 177;  // y + 2 .. y + 18 ("C")
inline constexpr int kDayWidth = 10;                      // day i at x + 10 i .. x + 10 i + 11
inline constexpr int kDotX1 = 248, kDotX2 = 258;          // y + 5 .. y + 15 ("C")

// View mode "M": two 20-pixel rows per property, one 71-pixel column per week.
inline constexpr int kWeekWidth = 71;
inline constexpr int kPropertyHeight = 40;
inline constexpr int kHeaderHeight = 49;  // three 17-pixel cells at 0, 16, 32
inline constexpr int kHeaderCell = 17;
inline constexpr int kPropertyColumn = 111;
inline constexpr int kBandBoxOffsetM = 59;

// The header line above the "C" chart.
inline constexpr const char* kHeaderC =
    "Week---------Starts------------Cost-[Band]--------Free?--------------------------------Comments"
    "----------------------------------Status";
inline constexpr const char* kHeaderCFuel = "--Fuel--";

// Font sizes as the chart names them, in pixels for DejaVu Sans (slightly below the
// point sizes at 96 dpi, as DejaVu is wider than the fonts the layout was made for).
inline constexpr int kFontNormal = 12;  // "10"
inline constexpr int kFontSmall = 10;   // "8"
inline constexpr int kFontFuel = 11;    // "9"
inline constexpr int kFontHeading = 15; // "12"

inline constexpr Rgb kBorder{192, 192, 192};
inline constexpr Rgb kFree{160, 255, 160};
inline constexpr Rgb kPartLet{255, 208, 176};
inline constexpr Rgb kFullComment{255, 0, 0};
inline constexpr Rgb kWeekNoFill{176, 255, 255};
inline constexpr Rgb kDateFill{255, 255, 255};
inline constexpr Rgb kHeaderFill{255, 255, 176};
inline constexpr Rgb kBandBox{0, 0, 255};
inline constexpr Rgb kDot{255, 255, 0};
inline constexpr Rgb kPropertyCell{255, 255, 176};
inline constexpr Rgb kPropertyCellOtherDay{255, 255, 128};
inline constexpr Rgb kPropertyName{0, 128, 128};
inline constexpr Rgb kOwnerName{128, 128, 128};
inline constexpr Rgb kBlue{0, 0, 255};

}  // namespace chart

// Fill colour and one-letter mark (' ' for none) of a status code; free for unknown codes.
Rgb StatusFill(int status);
char StatusMark(int status);
// Fill of a rate band (0 = a week priced directly) and of a fuel band letter.
Rgb BandFill(int band);
Rgb FuelFill(char fuelBand);
// The lower-case initial of day i (0..6) of a week starting on changeDay (1 = Sunday).
char DayLetter(int changeDay, int day);
// The status whose mark and colour a partly let week shows: an overdue day wins,
// otherwise the lowest status of 2 or more; Reserved when no day says otherwise.
int PartWeekStatus(const Status_Rec& w);
// The text of the occupancy cell of a whole week: "Hold", "RES" or "LET".
const char* WholeWeekText(const Status_Rec& w);

}  // namespace tb
