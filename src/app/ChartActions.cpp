#include "app/ChartActions.h"

#include "app/ChartModel.h"
#include "bookings/Rates.h"
#include "bookings/WeekTable.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

bool ValidProperty(const Session& s, int n) { return n >= 1 && n <= s.NumProps(); }

// Ends a click that will not open the booking window: the handle the refresh took
// must not stay held.
OpenBookingRequest Abandon(Session& s) {
  ReleaseBookingFile(s);
  return {};
}

}  // namespace

std::vector<int> ShownProperties(const Session& s) {
  std::vector<int> shown;
  if (s.common.AllPropertiesView()) {
    for (int n = 1; n <= s.NumProps(); ++n) shown.push_back(n);
  } else if (ValidProperty(s, s.CurrentProperty)) {
    shown.push_back(s.CurrentProperty);
  }
  return shown;
}

void DrawChart(Session& s, int n) {
  if (!ValidProperty(s, n)) return;
  BuildWeekTable(s, n, false);
  if (s.chartChanged) s.chartChanged(n);
}

bool RefreshProperty(Session& s, int n, bool lock, bool refresh) {
  if (!ValidProperty(s, n)) return false;
  const bool rates = RefreshRateCache(s, n);
  if (rates) s.RatesDue = true;
  const bool bookings = ReadBookings(s, n, lock, refresh);
  if (bookings) s.WebDataDue = true;
  if (!rates && !bookings) return false;
  DrawChart(s, n);
  WriteLog(s, "REFRESH P=" + std::to_string(n));
  return true;
}

void LoadShownProperties(Session& s) {
  for (int n : ShownProperties(s)) {
    ReadBookings(s, n, false, false);
    RefreshRateCache(s, n);
    DrawChart(s, n);
  }
}

namespace {

// Another user may have changed the file since it was drawn: what was clicked may no
// longer be what is there. False when the user must look again.
bool StillAsDrawn(Session& s, int n) {
  if (!RefreshProperty(s, n, true, false)) return true;
  s.dialogs.Beep();
  s.dialogs.Message("Booking data has changed - Display updated. Review and repeat.", MsgIcon::Information,
                    MsgButton::OK);
  WriteLog(s, "BOOKOPENFAIL P=" + std::to_string(n) + " User warned to repeat");
  return false;
}

// From the chosen date on: the booking there (when `existing`), the read-only and
// past-date checks, the log line.
OpenBookingRequest OpenAt(Session& s, int n, TDateTime date, bool existing) {
  OpenBookingRequest req;
  req.property = n;
  req.date = date;
  req.isNew = true;
  if (existing) {
    const auto [node, position] = FindBookingAt(s, n, date);
    req.node = node;
    req.position = position;
    req.isNew = node == nullptr;  // a week held back by the rates file
  }
  // A read-only run may have no handle at all (no booking file yet): it is read-only too.
  req.readOnly = s.FileReadOnly || s.ReadOnly;

  // Every new booking, also one on a week the rates file holds back, needs a writable
  // file and a start that is not past.
  if (req.isNew) {
    if (req.readOnly) {
      s.dialogs.Message(s.ReadOnly ? "Read only mode" : "Data being updated - try later", MsgIcon::Information,
                        MsgButton::OK);
      return Abandon(s);
    }
    if (req.date < s.clock.Today() &&
        s.dialogs.Message("Start date is in the past! Continue?", MsgIcon::Warning,
                          MsgButton::Yes | MsgButton::Abort) != MsgButton::Yes)
      return Abandon(s);
  }

  WriteLog(s, "OPENBOOKING P=" + std::to_string(n) + " SD=" + FormatDateTime("yymmdd", req.date) +
                  (req.readOnly ? " Readonly" : ""));
  req.open = true;
  return req;
}

}  // namespace

OpenBookingRequest ChartClick(Session& s, int x, int y) {
  if (s.BookFormOpen || s.RatesFormOpen) return {};
  const ChartPlace place = LocatePoint(s, x, y);
  if (place.property == 0) return {};
  const int n = place.property;
  if (s.common.AllPropertiesView()) s.CurrentProperty = n;
  if (!StillAsDrawn(s, n)) return Abandon(s);
  const ClickTarget target = DecideClick(s, place, x);
  if (!target.valid) return Abandon(s);
  return OpenAt(s, n, target.date, target.existing);
}

OpenBookingRequest OpenBookingAt(Session& s, int n, TDateTime date) {
  if (s.BookFormOpen || s.RatesFormOpen || !ValidProperty(s, n)) return {};
  if (s.common.AllPropertiesView()) s.CurrentProperty = n;
  if (!StillAsDrawn(s, n)) return Abandon(s);
  return OpenAt(s, n, date, FindBookingAt(s, n, date).first != nullptr);
}

void ChangeSeasonYear(Session& s, int delta) {
  s.SeasonYear[0] += delta;
  s.SeasonYear[1] = s.SeasonYear[0] + 1;
  for (int n : ShownProperties(s)) {
    RefreshRateCache(s, n);
    DrawChart(s, n);
  }
}

void RefreshAfterRatesSaved(Session& s) {
  const int n = s.RatesSavedProperty;
  if (n == 0) return;
  s.RatesSavedProperty = 0;
  if (!ValidProperty(s, n)) return;
  if (RefreshRateCache(s, n)) s.RatesDue = true;
  DrawChart(s, n);
}

bool FirstActivate(Session& s) {
  const TDateTime today = s.clock.Today();
  // A damaged stored time (not a number) counts as never checked.
  const bool due = !(DateOf(s.prefs.LastOverdueCheck()) >= today);
  s.prefs.SetLastOverdueCheck(s.clock.Now());
  SaveUserPrefs(s);
  return due;
}

}  // namespace tb
