#pragma once
// Opening a booking shown in a list window (the overdue list, the search window): the
// file locked and re-read when another user changed it, and the booking taken up again
// by its start day and surname, so that a wrong booking is never opened.

#include <string>
#include <string_view>

#include "app/ChartActions.h"

namespace tb {

class Session;

// What a list line knew of its booking when the list was built.
struct ListedBooking {
  int prop = 0;
  int rec = 0;  // position in the property's list, from 1; updated when taken up
  TDateTime start = 0;
  std::string surname;  // as the booking has it
  // Used only once the list is seen to hold it: after a re-read it may point into freed memory.
  Book_Buffer* node = nullptr;
};

struct ListedOpening {
  OpenBookingRequest request;  // request.open: the file is held, open the booking window
  bool closeList = false;      // the booking is gone: the list must close
};

// The booking's property becomes the current one, its bookings are re-read when changed
// and locked, and the booking is taken up again: its own node while it still stands in
// the list with the same start and surname, else the first booking with that start day
// and surname. When none has them the file is let go, `goneText` is shown (warning) and
// the list must close. Otherwise "OPENBOOKING P=<n> SD=<yymmdd> " + `logTag` is logged
// and the request opens the booking window in edit mode. The callers' refusals (an open
// booking window, another property's line) come first.
ListedOpening OpenListedBooking(Session& s, ListedBooking& line, std::string_view goneText, std::string_view logTag);

}  // namespace tb
