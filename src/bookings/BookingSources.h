#pragma once
// The choices of the booking window's "Source" drop-down.

#include <string>
#include <vector>

#include "store/BookingList.h"

namespace tb {

// The sources used by a property's bookings, newest start first, each distinct trimmed
// text once; a source moves ahead of earlier ones only when its count becomes strictly
// greater. At most 12; with fewer than 6, "Repeat" and "Reference" are added unless
// present.
std::vector<std::string> SourceList(const BookingList& bookings);

}  // namespace tb
