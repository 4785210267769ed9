#pragma once
// What years of use leave in a demo property's change and deletion logs.

#include <random>
#include <vector>

#include "store/BookRec.h"

namespace tb {

struct DemoLogs {
  std::vector<Book_Rec> changed;  // "Archive/Changed.bks", in the order of the saves
  std::vector<Book_Rec> deleted;  // "Archive/Deleted.bks", in the order of the deletions
};

// The saves behind the bookings (sorted by start): each booking saved when it was made
// and again as it was paid; some first made on other dates and moved; some past lets
// made after another customer's booking of the same dates was cancelled (that booking,
// kept as the program keeps cancellations, is added to `bookings`); and holds made on
// free weeks and deleted again. A customer's second booking made on the same day is
// made a day earlier.
DemoLogs DemoHistory(std::vector<Book_Rec>& bookings, double today, std::mt19937& rng);

}  // namespace tb
