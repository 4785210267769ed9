#include "app/ListedBooking.h"

#include <cmath>
#include <utility>

#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

bool SameBooking(const Book_Rec& b, const ListedBooking& line) {
  return std::floor(b.StartD) == std::floor(line.start) && b.Surname.view() == line.surname;
}

// The line's booking in property n's list as it is now, with its position; null when no
// booking has the line's start day and surname.
std::pair<Book_Buffer*, int> TakeUp(const Session& s, int n, const ListedBooking& line) {
  const BookingList& list = s.Prop(n).Bookings;
  if (const int at = list.Position(line.node); at > 0 && SameBooking(line.node->Rec, line)) return {line.node, at};
  int position = 0;
  for (Book_Buffer* b = list.First(); b; b = b->Next) {
    ++position;
    if (SameBooking(b->Rec, line)) return {b, position};
  }
  return {nullptr, 0};
}

}  // namespace

ListedOpening OpenListedBooking(Session& s, ListedBooking& line, std::string_view goneText, std::string_view logTag) {
  ListedOpening result;
  const int n = line.prop;
  if (n < 1 || n > s.NumProps()) return result;
  s.CurrentProperty = n;
  RefreshProperty(s, n, true, false);
  const auto [node, position] = TakeUp(s, n, line);
  if (!node) {
    ReleaseBookingFile(s);
    s.dialogs.Message(std::string(goneText), MsgIcon::Warning, MsgButton::OK);
    result.closeList = true;
    return result;
  }
  line.node = node;
  line.rec = position;
  WriteLog(s, "OPENBOOKING P=" + std::to_string(n) + " SD=" + FormatDateTime("yymmdd", node->Rec.StartD) + " " +
                  std::string(logTag));
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
