#pragma once
// One week of a property's chart: its prices and who is staying on which day.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

struct Status_Rec {
  TDateTime WeekDate = 0;  // start date of the week
  uint16_t RateYear = 0;
  uint16_t WeekNo = 0;  // in the rate year, from 1
  // Bit i for day i (day 0 = changeover day); 255 = the whole week is taken.
  uint8_t DayMask = 0;
  // Status code of each occupied day; bit 7 marks a changeover inside the week.
  std::array<uint8_t, 7> DayStatus{};
  std::array<uint8_t, 7> DayEffStatus{};
  uint8_t SpecialMark = 0;  // 8 when a let starting this week has special instructions
  // No price while the year has band prices: not to be let, whatever a booking in it
  // (the owner's hold, say) shows on the chart.
  bool Closed = false;
  bool Booked = false;      // a booking (of any status but cancelled) has nights in this week
  uint8_t RateBand = 0;     // 1..6, else 0
  char FuelBand = 0;
  // Whole currency units, as the rates file holds them (32 bits: a week of a large
  // house can cost more than 65535).
  int32_t WeekCost = 0;
  int32_t WeekFuel = 0;
  int32_t MinCost = 0;
  std::string WeekNames;  // at most 30 characters
  std::string BookedDate;
  std::string RateComment;
};

using TStArray = std::vector<Status_Rec>;

inline constexpr uint8_t kWholeWeek = 255;
inline constexpr uint8_t kChangeoverBit = 128;

}  // namespace tb
