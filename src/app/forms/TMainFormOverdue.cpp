// The main window's "List Overdue Items": one overdue list at a time, left open beside
// the chart.

#include "app/forms/TMainForm.h"
#include "app/forms/TOverdueForm.h"
#include "store/Session.h"

namespace tb {

void TMainForm::ListOverdueItems(bool dailyCheck) {
  if (s_.BookFormOpen) {
    s_.dialogs.Beep();
    s_.dialogs.Message("Cannot list overdue items - booking form is open", MsgIcon::None, MsgButton::OK);
    return;
  }
  if (overdueForm) {
    overdueForm->raise();
    overdueForm->activateWindow();
    return;
  }
  auto* form = new TOverdueForm(s_, this);
  form->setAttribute(Qt::WA_DeleteOnClose);
  form->printCanvas = PrinterCanvas(form, printer);
  form->openBooking = [this](const OpenBookingRequest& request) { OpenBooking(request, true); };
  if (!form->Build()) {
    delete form;
    // The daily check says nothing when there is nothing to do.
    if (!dailyCheck) s_.dialogs.Message("No overdue items", MsgIcon::None, MsgButton::OK);
    return;
  }
  overdueForm = form;
  form->show();
  form->raise();
  form->activateWindow();
}

}  // namespace tb
