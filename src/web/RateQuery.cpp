#include "bookings/Rates.h"
#include "platform/Escape.h"
#include "store/Session.h"
#include "web/WebFileSupport.h"
#include "web/WebFiles.h"

namespace tb {

namespace {

// Consecutive weeks of one price, comment and minimum, from the first's start to the
// last's end.
struct RateRow {
  TDateTime start = 0, end = 0;
  int32_t rate = 0, minCost = 0;
  std::string comment;
};

// A row as one line of the PHP string, without its ending.
void AppendRow(std::string& out, const std::string& name, const RateRow& r) {
  out += "\"('";
  out += name;
  out += "','";
  AppendIsoDay(out, r.start);
  out += "','";
  AppendIsoDay(out, r.end);
  out += "',";
  out += std::to_string(r.rate);
  out += ",'";
  out += PhpSqlQuoted(r.comment);
  out += "',";
  out += std::to_string(r.minCost);
  out += ")";
}

int32_t WeekRateOf(const Rate_Rec& rates, const WeekRate& w) {
  return w.CostOrBand >= 1 && w.CostOrBand <= 6 ? rates.BandCost[static_cast<size_t>(w.CostOrBand - 1)]
                                                 : w.CostOrBand;
}

// Property n's rows, from last week of the current year's rates on through the
// following years' files while there are any; none without a file for this year.
void AppendPropertyRows(const Session& s, int n, TDateTime today, std::string& out, int& rows) {
  const Prop_Rec& p = s.Prop(n);
  const std::string name = PhpSqlQuoted(p.PropName);
  int year = DecodeDate(today).year;
  int week = FirstRateWeek(p, year, today, 0);
  Rate_Rec rates;
  RateRow row;
  bool open = false;
  for (; ReadRatesFile(RatesFilePath(p, year), rates); ++year, week = 1) {
    const int last = WeeksInYear(year, p);
    for (; week <= last; ++week) {
      const WeekRate& w = rates.WeekRates[static_cast<size_t>(week - 1)];
      const int32_t rate = WeekRateOf(rates, w);
      const TDateTime start = WeekStart(year, week, p);
      // A new year's minimum starts a row too: a row has one minimum.
      if (open && rate == row.rate && rates.MinCost == row.minCost && w.WeekComment == row.comment) {
        row.end = start + 6;
        continue;
      }
      if (open) {
        AppendRow(out, name, row);
        out += ",\".\r\n";
        ++rows;
      }
      row = {start, start + 6, rate, rates.MinCost, w.WeekComment};
      open = true;
    }
  }
  if (open) {
    AppendRow(out, name, row);
    out += ",\".\r\n";
    ++rows;
  }
}

}  // namespace

std::string RateQueryText(Session& s, int& rows) {
  const TDateTime today = DateOf(s.clock.Today());
  rows = 0;
  std::string out =
      "<?php\r\n$q = \"INSERT INTO `rates` (`pname`, `sdate`, `edate`, `rate`, `comment`, `mincost`) VALUES \".\r\n";
  const size_t header = out.size();
  for (int n = 1; n <= s.NumProps(); ++n) AppendPropertyRows(s, n, today, out, rows);
  if (out.size() == header) {
    // No rates at all: the VALUES list stays empty, and the statement still parses as PHP.
    out += "\";\";\r\n";
  } else {
    // The last row closes the statement instead of continuing it.
    out.resize(out.size() - std::string_view(",\".\r\n").size());
    out += ";\";\r\n";
  }
  return out;
}

bool CreateRateQuery(Session& s, const std::string& path, int& rows) {
  return WriteWebFile(s, path, RateQueryText(s, rows));
}

}  // namespace tb
