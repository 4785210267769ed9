// cotlynctl bookings: a property's bookings as the program reads them, as JSON.

#include <nlohmann/json.hpp>

#include "bookings/BookingStatus.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "store/BookingFile.h"

namespace tb {

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
