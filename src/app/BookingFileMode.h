#pragma once
// Booking-file mode: the program runs on one booking file named on its command line
// (an archive, the change log, ...) with only the booking window, which ends the run.

namespace tb {

class Session;

// "START Mode=F " + the file; the file read and held (read-only when another user
// holds it); its list put in start order, marked for writing when that moved anything.
void StartBookingFileMode(Session& s);
// "CLOSE Mode=F. File=" + the file, once the window has closed.
void EndBookingFileMode(Session& s);

}  // namespace tb
