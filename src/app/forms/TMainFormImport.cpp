// The main window's "Import bookings from CSV file".

#include "app/ChartActions.h"
#include "app/forms/TMainForm.h"
#include "maintenance/forms/TImportForm.h"
#include "store/Session.h"

namespace tb {

void TMainForm::ImportFromCsv() {
  {
    TImportForm form(s_, this);
    if (showImport) showImport(form);
    else form.exec();
  }
  // The window marked each property whose bookings it changed or read afresh.
  for (int n : ShownProperties(s_))
    if (s_.Prop(n).ImportSel) DrawChart(s_, n);
  for (Prop_Rec& p : s_.props) p.ImportSel = 0;
}

}  // namespace tb
