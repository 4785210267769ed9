// cotlynctl quote: what a new booking would charge, as the booking window works it out
// when opened on a day.

#include <nlohmann/json.hpp>

#include "bookings/BookingStatus.h"
#include "bookings/Charges.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"

namespace tb {

namespace {

nlohmann::ordered_json Amount(const std::string& text) {
  double v = 0;
  return ParseAmount(text, v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(nullptr);
}

}  // namespace

int CtlQuote(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl quote ROOT PROP START END [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--today"});
  TDateTime start = 0, end = 0;
  if (!o.ok || o.positional.size() != 4 || !ParseIsoDate(o.positional[2], start) ||
      !ParseIsoDate(o.positional[3], end))
    return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  const int n = c.n;
  // The chart of the property as the window sees it on that day.
  Session& s = c.ctl->session();
  c.ctl->ShowProperty(n);

  const Prop_Rec& p = s.Prop(n);
  BookingForm f;
  f.startD = start;
  f.endD = end;
  const NewBookingResult result = NewBookingCharges(s, n, f);
  nlohmann::ordered_json q;
  q["Message"] = JsonText(result.rent.message);
  q["Notice"] = JsonText(result.notice);
  if (result.rent.updated) {
    q["Rent"] = Amount(f.rent);
    nlohmann::ordered_json charges = nlohmann::ordered_json::object();
    for (int i = 1; i <= p.ChargeCount; ++i) charges[JsonText(p.ExtChg[static_cast<size_t>(i)])] =
        Amount(f.charge[static_cast<size_t>(i)]);
    q["Charges"] = charges;
    q["Total"] = Amount(f.total);
    q["Deposit"] = Amount(f.deposit);
    q["Balance"] = Amount(f.balance);
    Book_Rec b;
    b.StartD = start;
    b.EndD = end;
    b.DateB = s.clock.Today();
    q["DepositDue"] = IsoDate(DepositDueDate(b, p));
    q["BalanceDue"] = IsoDate(BalanceDueDate(b, p));
  }
  out << q.dump(2) << "\n";
  return 0;
}

}  // namespace tb
