// cotlynctl history: the bookings history window's five year columns for one property,
// as JSON.

#include <nlohmann/json.hpp>

#include "bookings/BookingHistory.h"
#include "bookings/Rates.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlReportSupport.h"
#include "ctl/CtlSession.h"
#include "store/Session.h"

namespace tb {

int CtlHistory(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl history ROOT PROP YEAR [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--today"});
  long long year = 0;
  if (!o.ok || o.positional.size() != 3 ||
      !ParseCtlInt(o.positional[2], kHistoryFirstYearMin, kHistoryFirstYearMax, year))
    return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  const int n = c.n;
  Session& s = c.ctl->session();
  // As the window finds it: the property on show, its rates cache and bookings read.
  if (!s.common.AllPropertiesView()) s.CurrentProperty = n;
  RefreshRateCache(s, n);
  // A file that could not be read would pass as a property nobody booked.
  if (!ReadCtlBookings(*c.ctl, {n})) return 1;
  const BookingHistory h = BuildBookingHistory(s, n, static_cast<int>(year));

  nlohmann::ordered_json j;
  j["prop"] = n;
  j["property"] = JsonText(s.Prop(n).PropName);
  j["headings"] = nlohmann::ordered_json::array();
  for (const int y : h.years) j["headings"].push_back(std::to_string(y));
  j["rows"] = nlohmann::ordered_json::array();
  for (size_t row = 0; row < h.captions.size(); ++row) {
    nlohmann::ordered_json cells = nlohmann::ordered_json::array();
    for (const std::vector<std::string>& column : h.cells) cells.push_back(JsonText(column[row]));
    j["rows"].push_back({{"week", JsonText(h.captions[row])}, {"cells", cells}});
  }
  out << j.dump(2) << "\n";
  return 0;
}

}  // namespace tb
