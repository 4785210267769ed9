// The main window's "Search", "Find Text" and "View all bookings as list": one search
// window at a time, modal, whose lines open their bookings over it.

#include "app/ChartActions.h"
#include "app/forms/TMainForm.h"
#include "bookings/forms/TSearchForm.h"
#include "store/Session.h"

namespace tb {

void TMainForm::SearchBookings(SearchPurpose purpose) {
  if (searchForm) {
    searchForm->raise();
    searchForm->activateWindow();
    return;
  }
  auto* form = new TSearchForm(s_, purpose, this);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->setModal(true);
  form->openBooking = [this](const OpenBookingRequest& request, std::function<void()> closed) {
    OpenBooking(request, true, std::move(closed));
  };
  searchForm = form;
  form->show();
  if (purpose == SearchPurpose::ListAll) form->Start("");
}

}  // namespace tb
