#include "app/BookingFileMode.h"

#include "platform/Cp1252.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

void StartBookingFileMode(Session& s) {
  WriteLog(s, "START Mode=F " + Utf8ToCp1252(s.DirectFile));
  ReadBookings(s, 0, true, false);
  // Files written by hand or by other programs may be out of order; the window pages
  // through them by date.
  if (SortBookings(s, 0)) s.Prop(0).ListModified = 1;
}

void EndBookingFileMode(Session& s) {
  ReleaseBookingFile(s);
  WriteLog(s, "CLOSE Mode=F. File=" + Utf8ToCp1252(s.DirectFile));
  SaveUserPrefs(s);
}

}  // namespace tb
