#include "app/OverdueBooking.h"

#include <cmath>
#include <utility>

#include "reports/OverdueList.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

bool SameBooking(const Book_Rec& b, const OverdueRow& row) {
  return std::floor(b.StartD) == std::floor(row.start) && b.Surname.view() == row.surname;
}

// The row's booking in property n's list as it is now, with its position; null when
// no booking has the row's start day and surname. The row's node is used only once
// the list is seen to hold it: after a re-read it may point into freed memory.
std::pair<Book_Buffer*, int> TakeUp(const Session& s, int n, const OverdueRow& row) {
  const BookingList& list = s.Prop(n).Bookings;
  if (const int at = list.Position(row.node); at > 0 && SameBooking(row.node->Rec, row)) return {row.node, at};
  int position = 0;
  for (Book_Buffer* b = list.First(); b; b = b->Next) {
    ++position;
    if (SameBooking(b->Rec, row)) return {b, position};
  }
  return {nullptr, 0};
}

}  // namespace

OverdueOpening OpenOverdueRow(Session& s, OverdueRow& row) {
  OverdueOpening result;
  const int n = row.prop;
  if (s.BookFormOpen) {
    s.dialogs.Message("Close open booking", MsgIcon::Warning, MsgButton::OK);
    return result;
  }
  if (!s.common.AllPropertiesView() && n != s.CurrentProperty) {
    s.dialogs.Message("You can only edit bookings for " + s.Prop(s.CurrentProperty).PropName, MsgIcon::Warning,
                      MsgButton::OK);
    return result;
  }
  if (n < 1 || n > s.NumProps()) return result;
  s.CurrentProperty = n;
  RefreshProperty(s, n, true, false);
  const auto [node, position] = TakeUp(s, n, row);
  if (!node) {
    ReleaseBookingFile(s);
    s.dialogs.Message("Bookings changed by another user and\rcannot be found. Please repeat.", MsgIcon::Warning,
                      MsgButton::OK);
    result.closeList = true;
    return result;
  }
  row.node = node;
  row.rec = position;
  WriteLog(s, "OPENBOOKING P=" + std::to_string(n) + " SD=" + FormatDateTime("yymmdd", node->Rec.StartD) +
                  " Overduelist");
  OpenBookingRequest& r = result.request;
  r.open = true;
  r.property = n;
  r.date = node->Rec.StartD;
  r.isNew = false;
  r.node = node;
  r.position = position;
  r.readOnly = s.FileReadOnly || s.ReadOnly;
  return result;
}

}  // namespace tb
