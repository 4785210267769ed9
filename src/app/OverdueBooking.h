#pragma once
// Opening a booking from a row of the overdue list.

#include "app/ChartActions.h"

namespace tb {

class Session;
struct OverdueRow;

struct OverdueOpening {
  OpenBookingRequest request;  // request.open: the file is held, open the booking window
  bool closeList = false;      // the booking is gone: the list must close
};

// A click on `row`: refused while a booking window is open, and in "C" for another
// property's row; otherwise the row's property becomes the current one, its bookings
// are re-read when changed and locked, and the booking is taken up again: the row's own
// node while it still stands in the list with the row's start and surname, else the
// first booking with that start day and surname (the row's number updated). When none
// has them the file is let go and the list must close. Logs "OPENBOOKING ...
// Overduelist" before the booking window opens in edit mode.
OverdueOpening OpenOverdueRow(Session& s, OverdueRow& row);

}  // namespace tb
