// cotlynctl bookings: a property's bookings as the program reads them, as JSON.

#include <nlohmann/json.hpp>

#include "bookings/BookingStatus.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "store/BookingFile.h"

namespace tb {

namespace {

nlohmann::ordered_json BookingJson(const Book_Rec& b, const Prop_Rec& p, TDateTime today) {
  nlohmann::ordered_json j;
  j["Status"] = b.Status;
  j["Flag"] = b.Flag;
  j["NumV"] = b.NumV;
  j["Spare1"] = b.Spare1;
  j["Rent"] = b.Rent;
  j["Chg1"] = b.Chg1;
  j["Chg2"] = b.Chg2;
  j["Chg3"] = b.Chg3;
  j["Spare2"] = b.Spare2;
  j["Total"] = b.Total;
  j["Deposit"] = b.Deposit;
  j["Balance"] = b.Balance;
  j["Refund"] = b.Refund;
  j["StartD"] = IsoDate(b.StartD);
  j["EndD"] = IsoDate(b.EndD);
  j["DateB"] = IsoDate(b.DateB);
  j["DateD"] = IsoDate(b.DateD);
  j["DateP"] = IsoDate(b.DateP);
  j["DateR"] = IsoDate(b.DateR);
  j["DateUpD"] = IsoDateTime(b.DateUpD);
  j["Spare3"] = b.Spare3;
  j["Surname"] = JsonText(b.Surname);
  j["Fnames"] = JsonText(b.Fnames);
  j["SpareText"] = JsonText(b.SpareText);
  j["Address"] = JsonText(b.Address);
  j["Phone"] = JsonText(b.Phone);
  j["Email"] = JsonText(b.Email);
  j["Special"] = JsonText(b.Special);
  j["Comments"] = JsonText(b.Comments);
  j["Source"] = JsonText(b.Source);
  j["Tag"] = StatusTag(b.Status);
  j["EffectiveStatus"] = EffectiveStatus(b, p, today);
  return j;
}

}  // namespace

int CtlBookings(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl bookings ROOT PROP [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--today"});
  if (!o.ok || o.positional.size() != 2) return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  const int n = c.n;
  Session& s = c.ctl->session();
  ReadBookings(s, n, false, false);
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  const TDateTime today = s.clock.Today();
  for (const Book_Buffer* b = s.Prop(n).Bookings.First(); b; b = b->Next)
    list.push_back(BookingJson(b->Rec, s.Prop(n), today));
  out << list.dump(2) << "\n";
  return 0;
}

}  // namespace tb
