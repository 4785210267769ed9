#pragma once
// One rate year of a property: the bands, fuel and linen charges and 53 week entries.

#include <array>
#include <cstdint>
#include <string>

namespace tb {

struct WeekRate {
  char FuelBand = 0;  // 'L', 'M', 'H'; 0 when never set
  uint8_t EntrySpare = 0;
  int32_t CostOrBand = 0;  // 1..6 a rate band, otherwise the week's cost; 0 no price
  std::string WeekComment;
};

struct Rate_Rec {
  int32_t LinenCharge = 0;
  int32_t MinCost = 0;
  int32_t RateSpare = 0;
  std::array<int32_t, 6> BandCost{};  // bands 1..6 at [0..5]
  std::array<int32_t, 3> FuelCost{};  // L, M, H
  std::array<WeekRate, 53> WeekRates{};  // weeks 1..53 at [0..52]
};

inline constexpr size_t kRateHeaderSize = 48;
inline constexpr size_t kRateEntryFixedSize = 6;

}  // namespace tb
