// cotlynctl payments: the payments list of the payments window, written as
// "Payments.csv" in the root folder, for a representative's list made by cron.


#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/Cp1252.h"
#include "reports/Payments.h"
#include "reports/PaymentsCsv.h"

namespace tb {

int CtlPayments(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage =
      "usage: cotlynctl payments ROOT [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--props 1,3] [--omit-future]"
      " [--omit-complete] [--today YYYY-MM-DD]";
  PaymentOptions po;
  std::vector<std::string> rest;
  for (const std::string& a : args) {
    if (a == "--omit-future") po.omitFuture = true;
    else if (a == "--omit-complete") po.omitComplete = true;
    else rest.push_back(a);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--from", "--to", "--props", "--today"});
  if (!o.ok || o.positional.size() != 1) return CtlUsage(err, usage);
  int exitCode = 0;
  auto ctl = OpenCtlRoot(o.positional[0], o.Get("--today"), usage, err, exitCode);
  if (!ctl) return exitCode;
  Session& s = ctl->session();

  // The window's defaults: this calendar year.
  const int year = DecodeDate(s.clock.Today()).year;
  po.start = EncodeDate(year, 1, 1);
  po.end = EncodeDate(year, 12, 31);
  if ((!o.Get("--from").empty() && !ParseIsoDate(o.Get("--from"), po.start)) ||
      (!o.Get("--to").empty() && !ParseIsoDate(o.Get("--to"), po.end)))
    return CtlUsage(err, usage);
  if (o.Get("--props").empty()) {
    for (int n = 1; n <= s.NumProps(); ++n) po.properties.push_back(n);
  } else if (std::string unknown; !ctl->FindProperties(o.Get("--props"), po.properties, unknown)) {
    err << "no such property: " << unknown << "\n";
    return 1;
  }

  const std::vector<PaymentRow> rows = PaymentRows(s, po);
  int64_t total = 0;
  for (const PaymentRow& r : rows) total += r.cents;
  std::string error;
  if (!WritePaymentsCsv(s, rows, error)) {
    err << Cp1252ToUtf8(error) << "\n";
    return 1;
  }
  out << Cp1252ToUtf8(PaymentsFoundText(static_cast<int>(po.properties.size()), static_cast<int>(rows.size())))
      << "\n"
      << Cp1252ToUtf8(PaymentsTotalText(total)) << "\n"
      << "Written " << PaymentsCsvPath(s) << "\n";
  return 0;
}

}  // namespace tb
