#include "app/OverdueBooking.h"

#include "reports/OverdueList.h"
#include "store/Session.h"

namespace tb {

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
  ListedBooking line{n, row.rec, row.start, row.surname, row.node};
  result = OpenListedBooking(s, line, "Bookings changed by another user and\rcannot be found. Please repeat.",
                             "Overduelist");
  row.node = line.node;
  row.rec = line.rec;
  return result;
}

}  // namespace tb
