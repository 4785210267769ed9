#pragma once
// What the chart does: draw a property, re-read what another user changed, open a
// booking from a click, change the years on show.

#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;
struct Book_Buffer;

// The properties on show: the current one in "C", every one in "M".
std::vector<int> ShownProperties(const Session& s);

// Rebuilds property n's week table and tells the window to repaint it.
void DrawChart(Session& s, int n);
// Reloads the rates cache and the bookings of property n when their files changed;
// when anything was re-read, redraws and logs "REFRESH P=n". True when re-read.
bool RefreshProperty(Session& s, int n, bool lock, bool refresh);
// First display: every shown property's bookings read (without locking), its rates
// loaded and its chart drawn.
void LoadShownProperties(Session& s);

// What a left click on the chart asks for. When `open` is set, the booking file
// handle is held and the booking window should open.
struct OpenBookingRequest {
  bool open = false;
  int property = 0;
  TDateTime date = 0;
  bool isNew = true;
  Book_Buffer* node = nullptr;  // the booking, when not new
  int position = 0;
  bool readOnly = false;
};
// A left click at canvas point (x, y): the whole flow from the lock to the log line,
// with its questions and messages.
OpenBookingRequest ChartClick(Session& s, int x, int y);
// The same flow for a date of property n: the booking running on it, else a new one.
// Used by COTLYN_OPEN_BOOKING, which scripted runs use in place of a click.
OpenBookingRequest OpenBookingAt(Session& s, int n, TDateTime date);

// "Forward one year" (+1) and "Backwards one year" (-1): the years on show move, the
// rates are reloaded and the shown properties redrawn.
void ChangeSeasonYear(Session& s, int delta);

// On every activation of the main window: a property whose rates the rates editor
// saved is reloaded and redrawn.
void RefreshAfterRatesSaved(Session& s);
// On the first activation: whether today's overdue check is still to be run; the time
// of the check is stored and the preferences written.
bool FirstActivate(Session& s);

}  // namespace tb
