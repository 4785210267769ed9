// The main window's "View Payments": one payments window at a time, left open beside
// the chart.

#include "app/forms/TMainForm.h"
#include "reports/forms/TPaymentsForm.h"
#include "store/Session.h"

namespace tb {

void TMainForm::ViewPayments() {
  if (!paymentsForm) {
    // "C": the property on show; "M": the one last picked, else the first.
    const int property = !s_.common.AllPropertiesView() ? s_.CurrentProperty
                         : s_.PickedProperty > 0        ? s_.PickedProperty
                                                        : 1;
    paymentsForm = new TPaymentsForm(s_, property, this);
    paymentsForm->setAttribute(Qt::WA_DeleteOnClose);
  }
  paymentsForm->show();
  paymentsForm->raise();
  paymentsForm->activateWindow();
}

}  // namespace tb
