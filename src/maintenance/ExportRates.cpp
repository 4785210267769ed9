// "Export Rates": the rates files of five years as one INSERT per property, for the
// table a web site quotes prices from. Each week is a JSON object, stored as plain
// JSON: the SQL literal gives back exactly the text built here.

#include <algorithm>

#include "bookings/Rates.h"
#include "maintenance/Export.h"
#include "platform/DateTime.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "store/Session.h"

namespace tb {

namespace {

const char* const kInsert =
    "INSERT INTO `charges` (`yr`,`pname`,`pn`,`linen`,`MinCost`,`Rent`,`FCost`,`WkRec`) VALUES\r\n";

template <size_t N>
std::string Joined(const std::array<int32_t, N>& values) {
  std::string out;
  for (size_t i = 0; i < N; ++i) out += (i ? "," : "") + std::to_string(values[i]);
  return out;
}

std::string WeekObject(const WeekRate& w) {
  const std::string fuel(1, w.FuelBand ? w.FuelBand : ' ');
  return "{\"Fuel\":\"" + JsonStringText(fuel) + "\",\"Rate\":" + std::to_string(w.CostOrBand) + ",\"Cmt\":\"" +
         JsonStringText(w.WeekComment) + "\"}";
}

std::string YearEntry(const Prop_Rec& p, int n, int year, const Rate_Rec& r) {
  const int days = static_cast<int>(WeekStart(year + 1, 1, p) - WeekStart(year, 1, p));
  const int weeks = std::clamp(days / 7, 0, static_cast<int>(r.WeekRates.size()));
  std::string list;
  for (int w = 0; w < weeks; ++w) {
    if (w) list += ",\r\n";
    list += WeekObject(r.WeekRates[static_cast<size_t>(w)]);
  }
  return "(" + std::to_string(year) + ",'" + SqlBackslashed(p.PropName) + "'," + std::to_string(n) + "," +
         std::to_string(r.LinenCharge) + "," + std::to_string(r.MinCost) + ",'[" + Joined(r.BandCost) + "]'," +
         "'[" + Joined(r.FuelCost) + "]',\r\n'[" + SqlBackslashed(list) + "]'),\r\n";
}

}  // namespace

std::string RatesSql(Session& s, const std::vector<int>& properties) {
  std::string sql;
  const int thisYear = DecodeDate(s.clock.Today()).year;
  for (const int n : properties) {
    const Prop_Rec& p = s.Prop(n);
    std::string statement;
    for (int year = thisYear - 1; year <= thisYear + 3; ++year) {
      Rate_Rec r;
      if (ReadRatesFile(RatesFilePath(p, year), r)) statement += YearEntry(p, n, year, r);
    }
    if (statement.empty()) {
      s.dialogs.Message("No rates files found for Property " + p.PropName + ". Continue?", MsgIcon::Warning,
                        MsgButton::Yes);
      continue;
    }
    statement.resize(statement.size() - 3);  // the last entry's ",", CR, LF
    sql += kInsert + statement + ";";
  }
  return sql;
}

}  // namespace tb
