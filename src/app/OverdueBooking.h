#pragma once
// Opening a booking from a row of the overdue list.

#include "app/ListedBooking.h"

namespace tb {

class Session;
struct OverdueRow;

using OverdueOpening = ListedOpening;

// A click on `row`: refused while a booking window is open, and in "C" for another
// property's row; otherwise as OpenListedBooking (the row's node and number updated),
// logged with "Overduelist".
OverdueOpening OpenOverdueRow(Session& s, OverdueRow& row);

}  // namespace tb
