#include "reports/Statistics.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/Format.h"
#include "platform/Text.h"
#include "reports/IncomeReport.h"
#include "store/BookRec.h"
#include "store/Session.h"

namespace tb {

namespace {

bool TwoDigits(const std::string& t, int lo, int hi, int& value) {
  if (t.size() != 2 || t[0] < '0' || t[0] > '9' || t[1] < '0' || t[1] > '9') return false;
  value = (t[0] - '0') * 10 + (t[1] - '0');
  return value >= lo && value <= hi;
}

int Nights(const Book_Rec& b) { return std::max(0, static_cast<int>(std::lround(b.EndD - b.StartD))); }

constexpr int kYears = 13;
constexpr int kSourceYears = 5;
constexpr int kForwardYears = 6;

// The year table of one run: each entry's first day and the day after its last.
struct YearBounds {
  std::array<TDateTime, kYears + 1> next{};  // next[k]: the day after entry k's last day
};

void AddYears(StatsResult& r, const YearBounds& y, const Book_Rec& b) {
  for (int k = 0; k + 1 < kYears; ++k) {
    const TDateTime x = y.next[k], a = y.next[k + 1];
    if (b.StartD < x) {
      const YearShare share = TaxYearShare(b, a, x);
      if (share.counts) {
        r.years[k].nights += share.nights;
        r.years[k].income += share.amount;
      }
    }
    if (b.Status == Cancelled || !(b.StartD > x - 1 || b.EndD > x)) continue;
    // Paid in this year for nights after it.
    const TDateTime paidAfter = a - 1, paidBy = x - 1;
    const auto inYear = [&](TDateTime d) {
      const TDateTime day = DateOf(d);
      return day > paidAfter && day <= paidBy;
    };
    double paid = 0;
    if (b.Status > Hold && inYear(b.DateD)) paid += b.Deposit;
    if (b.Status > DepositPaid && inYear(b.DateP)) paid += b.Balance;
    if (!(paid > 0)) continue;
    if (b.StartD < x && b.EndD > x) paid = paid * (b.EndD - x) / (b.EndD - b.StartD);
    r.years[k].prepaid += paid;
  }
}

}  // namespace

std::string CheckYearStartDay(const std::string& text, int& day, int& month) {
  const size_t slash = text.find('/');
  const std::string d = text.substr(0, slash);
  const std::string m = slash == std::string::npos ? std::string() : text.substr(slash + 1);
  int dd = 0, mm = 0;
  if (!TwoDigits(m, 1, 12, mm)) return "Invalid month, must be 01 to 12";
  if (!TwoDigits(d, 1, 31, dd)) return "Invalid day, must be 01 to 31";
  day = dd;
  month = mm;
  return {};
}

StatsResult AnalyseBookings(const Session& s, const std::vector<int>& properties, int startDay, int startMonth) {
  StatsResult r;
  const TDateTime today = s.clock.Today(), now = s.clock.Now();
  const int thisYear = DecodeDate(today).year;
  r.chartYear = std::max(s.SeasonYear[0], s.SeasonYear[1]);
  if (r.chartYear == 0) r.chartYear = thisYear;
  r.forwardYear = std::min(r.chartYear, thisYear);

  YearBounds bounds;
  for (int k = 0; k < kYears; ++k) {
    bounds.next[k] = DayInYear(thisYear + 2 - k, startMonth, startDay);
    r.years[k].yearEnd = bounds.next[k] - 1;
  }
  bounds.next[kYears] = DayInYear(thisYear + 2 - kYears, startMonth, startDay);

  // The 1st of each month of the six forward years, and the oldest arrival they look at.
  std::array<std::array<TDateTime, 12>, kForwardYears> firsts{};
  for (int i = 0; i < kForwardYears; ++i)
    for (int m = 0; m < 12; ++m) firsts[i][m] = EncodeDate(r.forwardYear - i, m + 1, 1);
  const TDateTime forwardFrom = EncodeDate(r.forwardYear - (kForwardYears - 1), 1, 1);

  std::unordered_map<std::string, size_t> sourceAt;
  for (const int n : properties) {
    const Prop_Rec& p = s.Prop(n);
    if (!p.Bookings.First()) continue;
    if (r.analysed++ == 0) r.currency = p.CurrencySymbol();
    r.names.push_back(p.PropName);

    for (const Book_Buffer* node = p.Bookings.First(); node; node = node->Next) AddYears(r, bounds, node->Rec);

    for (const Book_Buffer* node = p.Bookings.Last(); node; node = node->Prev) {
      const Book_Rec& b = node->Rec;
      if (b.Status == Reserved) continue;
      const std::string_view source = TrimView(b.Source.view());
      if (source.empty()) {
        r.noSource.push_back("Date=" + ShortDateText(b.StartD) + " Name=" + b.Surname.str() + "  Prop=" + p.PropName);
        continue;
      }
      const int back = r.chartYear - DecodeDate(b.StartD).year;
      if (back < 0 || back >= kSourceYears) continue;
      auto [it, added] = sourceAt.try_emplace(std::string(source), r.sources.size());
      if (added) r.sources.push_back({std::string(source)});
      ++r.sources[it->second].count[static_cast<size_t>(back)];
    }

    for (const Book_Buffer* node = p.Bookings.Last(); node && node->Rec.StartD >= forwardFrom; node = node->Prev) {
      const Book_Rec& b = node->Rec;
      if (b.Status == Reserved || b.Status == Cancelled) continue;
      const int nights = Nights(b);
      for (int i = 0; i < kForwardYears; ++i)
        for (int m = 0; m < 12; ++m) {
          const TDateTime first = firsts[i][m];
          if (b.DateB < first && b.StartD >= first && first <= today) r.forward[i][m] += nights;
        }
      if (b.StartD >= now) r.current += nights;
    }
  }

  Source_AR totals{"  Totals"};
  for (Source_AR& src : r.sources) {
    for (int i = 0; i < kSourceYears; ++i) {
      src.total += src.count[i];
      totals.count[i] += src.count[i];
    }
    totals.total += src.total;
  }
  std::stable_sort(r.sources.begin(), r.sources.end(),
                   [](const Source_AR& a, const Source_AR& b) { return a.total > b.total; });
  r.anySource = !r.sources.empty();
  r.sources.push_back(totals);
  return r;
}

std::vector<StatsLine> StatsLines(const StatsResult& r) {
  std::vector<StatsLine> out;
  const auto line = [&out](std::string text, bool bold, bool underline, const std::vector<int>& tabs) {
    out.push_back({std::move(text), bold, underline, tabs});
  };
  std::string joined;
  for (const std::string& name : r.names) joined += (joined.empty() ? "" : ",") + name;
  line(r.analysed > 4 ? "Analysed " + std::to_string(r.analysed) + " Properties" : "Data for: " + joined, true, false,
       {});
  line("", false, false, {});

  const std::vector<int> yearTabs{8, 75, 110, 170};
  line("1. Year ending\tDays\tIncome(" + r.currency + ")\tPrepaid for later yrs(" + r.currency + ")", true, true,
       yearTabs);
  for (const StatsYear& y : r.years)
    if (y.nights > 0)
      line("\t" + FormatDateTime("d mmm yyyy", y.yearEnd) + Format("\t %d\t %n\t %n", {y.nights, y.income, y.prepaid}),
           false, false, yearTabs);
  line(std::string(49, '\xAF'), true, false, yearTabs);

  const Source_AR& totals = r.sources.back();
  if (r.anySource) {
    std::vector<int> sourceTabs{8};
    for (int i = 0; i <= kSourceYears; ++i) sourceTabs.push_back(160 + 36 * i);
    std::string heading = "2. Booking Source";
    for (int i = 0; i < kSourceYears; ++i)
      if (totals.count[i] != 0) heading += "\t" + std::to_string(r.chartYear - i);
    line("", false, false, sourceTabs);
    line(heading + "\tTotals", true, true, sourceTabs);
    for (const Source_AR& src : r.sources) {
      std::string text = "\t" + src.name.substr(0, 30);
      for (int i = 0; i < kSourceYears; ++i)
        if (totals.count[i] != 0) text += "\t" + std::to_string(src.count[i]);
      text += "\t" + std::to_string(src.total);
      const bool last = &src == &totals;
      line(text, last, last, sourceTabs);
    }
  }
  if (!r.noSource.empty()) {
    line("", false, false, {});
    line(std::to_string(r.noSource.size()) + " bookings have no source", false, false, {});
  }

  std::vector<int> forwardTabs;
  for (int i = 0; i < kForwardYears; ++i) forwardTabs.push_back(70 + 32 * i);
  line("", false, false, forwardTabs);
  line("3. Bookings (days) on 1st of each month.     Current=" + std::to_string(r.current) + " days", true, true,
       forwardTabs);
  std::string years = "YEAR = ";
  for (int i = 0; i < kForwardYears; ++i) years += "\t" + std::to_string(r.forwardYear - i);
  line(years, true, false, forwardTabs);
  for (int m = 0; m < 12; ++m) {
    std::string text = FormatDateTime("mmmm", EncodeDate(2000, m + 1, 1)) + " 1st";
    for (int i = 0; i < kForwardYears; ++i) text += "\t" + std::to_string(r.forward[i][m]);
    line(text, false, false, forwardTabs);
  }
  return out;
}

std::string NoSourcePath(const Session& s) { return s.common.TempFolder + "NoSource.txt"; }

}  // namespace tb
