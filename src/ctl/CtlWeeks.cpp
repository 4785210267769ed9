// cotlynctl weeks: the week table of two rate years as the chart builds it, as JSON.

#include <nlohmann/json.hpp>

#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"

namespace tb {

namespace {

nlohmann::ordered_json WeekJson(const Status_Rec& w) {
  nlohmann::ordered_json j;
  j["WeekDate"] = IsoDate(w.WeekDate);
  j["RateYear"] = w.RateYear;
  j["WeekNo"] = w.WeekNo;
  j["DayMask"] = w.DayMask;
  j["DayStatus"] = w.DayStatus;
  j["DayEffStatus"] = w.DayEffStatus;
  j["SpecialMark"] = w.SpecialMark;
  j["RateBand"] = w.RateBand;
  j["FuelBand"] = w.FuelBand ? std::string(1, w.FuelBand) : std::string();
  j["WeekCost"] = w.WeekCost;
  j["WeekFuel"] = w.WeekFuel;
  j["MinCost"] = w.MinCost;
  j["WeekNames"] = JsonText(w.WeekNames);
  j["BookedDate"] = JsonText(w.BookedDate);
  j["RateComment"] = JsonText(w.RateComment);
  return j;
}

}  // namespace

int CtlWeeks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl weeks ROOT PROP YEAR [--today YYYY-MM-DD]";
  const CtlOptions o = ParseCtlOptions(args, {"--today"});
  long long year = 0;
  if (!o.ok || o.positional.size() != 3 || !ParseCtlInt(o.positional[2], 1900, 9998, year))
    return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.exitCode;
  const int n = c.n;
  Session& s = c.ctl->session();
  s.SeasonYear = {static_cast<int>(year), static_cast<int>(year) + 1};
  c.ctl->ShowProperty(n);
  nlohmann::ordered_json weeks = nlohmann::ordered_json::array();
  for (const Status_Rec& w : s.Prop(n).Weeks) weeks.push_back(WeekJson(w));
  out << weeks.dump(2) << "\n";
  return 0;
}

}  // namespace tb
