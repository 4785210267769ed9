#pragma once
// The discount calculator: what each of its percentages takes off the rent.

#include <string>
#include <vector>

#include "bookings/Charges.h"

namespace tb {

struct Prop_Rec;

struct DiscountLine {
  std::string caption;  // "7.5%"
  double amount = 0;    // as shown (rounded when asked)
  std::string amountText, netRent, extras, netTotal;
};

// The percentages the calculator offers before its special one.
inline constexpr double kDiscountPercents[] = {5, 7.5, 10, 12.5, 15, 20, 25, 30};

// The nine lines for the booking's rent and charges; false when the rent or a charge
// is not a number ("Rent and charges must be valid").
bool DiscountLines(const Prop_Rec& p, const BookingForm& f, bool rounded, const std::string& special,
                   std::vector<DiscountLine>& lines);
// The special percentage is taken when it is a number from 0.1 to 100.
bool ValidSpecialPercent(const std::string& text);

}  // namespace tb
