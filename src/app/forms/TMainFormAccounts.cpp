// The main window's "Monthly Accounts" and "Income/Expenditure Report": the monthly
// accounts window, with the owners read first since accounts are e-mailed to them.

#include "app/forms/TMainForm.h"
#include "owners/OwnerDB.h"
#include "reports/forms/TFinanceForm.h"
#include "store/Session.h"

namespace tb {

void TMainForm::MonthlyAccounts() {
  OpenOwnerDB(s_, false);
  TFinanceForm form(s_, this);
  form.printCanvas = PrinterCanvas(&form, printer);
  if (showFinance) showFinance(form);
  else form.exec();
}

}  // namespace tb
