#pragma once
// Believable rates and bookings for a demo property.

#include <map>
#include <random>
#include <vector>

#include "store/BookRec.h"
#include "store/PropRec.h"
#include "store/RateRec.h"

namespace tb {

// A year of rates: bands by season, fuel bands, linen, a minimum short-let charge on
// some properties, comments on the holiday weeks and, on some, a week closed for
// maintenance.
Rate_Rec DemoRates(const Prop_Rec& p, int year);
// Bookings from January of firstYear to the end of lastYear, in every stored status,
// with statuses and payments that fit `today`. Sorted by start date.
// `rates` holds every rate year from firstYear to lastYear.
std::vector<Book_Rec> DemoBookings(const Prop_Rec& p, const std::map<int, Rate_Rec>& rates, int firstYear,
                                   int lastYear, double today, std::mt19937& rng);

// A customer's names, address, phone, e-mail, source and notes.
void DemoCustomer(Book_Rec& b, std::mt19937& rng);

}  // namespace tb
