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

// The year table of one run: entry k holds the days from next[k + 1] up to the day
// before next[k], newest first.
struct YearBounds {
  std::array<TDateTime, kYears + 1> next{};
  // The entry holding day d: -1 when d is after them all, kYears when before.
  int EntryOf(TDateTime d) const {
    if (d >= next[0]) return -1;
    int k = 0;
    while (k < kYears && d < next[k + 1]) ++k;
    return k;
  }
};

// Entries 0 .. kYears - 2 hold figures; the last only bounds the one before.
constexpr int kShownYears = kYears - 1;

void AddYears(StatsResult& r, const YearBounds& y, const Book_Rec& b) {
  // Only the years the stay touches: from its arrival's year up to its departure's.
  const int first = std::min(y.EntryOf(b.StartD), kShownYears - 1);
  const TDateTime last = std::max(b.StartD, b.EndD);
  for (int k = first; k >= 0 && y.next[k + 1] <= last; --k) {
    const YearShare share = TaxYearShare(b, y.next[k + 1], y.next[k]);
    if (share.counts) {
      r.years[k].nights += share.nights;
      r.years[k].income += share.amount;
    }
  }
  if (b.Status == Cancelled) return;
  // Paid in a year for nights after it: only the years the payments were made in.
  const int deposit = b.Status > Hold ? y.EntryOf(DateOf(b.DateD)) : -1;
  const int balance = b.Status > DepositPaid ? y.EntryOf(DateOf(b.DateP)) : -1;
  const auto prepaid = [&](int k) {
    if (k < 0 || k >= kShownYears) return;
    const TDateTime x = y.next[k];
    if (!(b.StartD > x - 1 || b.EndD > x)) return;
    double paid = (k == deposit ? b.Deposit : 0) + (k == balance ? b.Balance : 0);
    if (!(paid > 0)) return;
    if (b.StartD < x && b.EndD > x) paid = paid * (b.EndD - x) / (b.EndD - b.StartD);
    r.years[k].prepaid += paid;
  };
  prepaid(deposit);
  if (balance != deposit) prepaid(balance);
}

// Source names found by a text view of the booking's, without making a string.
struct SourceHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

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

  // The 1st of each month of the six forward years, oldest first, and the oldest
  // arrival they look at.
  std::array<TDateTime, kForwardYears * 12> firsts{};
  for (int j = 0; j < kForwardYears * 12; ++j)
    firsts[j] = EncodeDate(r.forwardYear - (kForwardYears - 1) + j / 12, j % 12 + 1, 1);
  const TDateTime forwardFrom = firsts[0];
  // 1 January of the chart year and of the years before it, for the source table.
  std::array<TDateTime, kSourceYears + 1> sourceYears{};
  for (int i = 0; i <= kSourceYears; ++i) sourceYears[i] = EncodeDate(r.chartYear + 1 - i, 1, 1);

  std::unordered_map<std::string, size_t, SourceHash, std::equal_to<>> sourceAt;
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
      if (b.StartD >= sourceYears[0] || b.StartD < sourceYears[kSourceYears]) continue;
      int back = 0;
      while (b.StartD < sourceYears[back + 1]) ++back;
      auto it = sourceAt.find(source);
      if (it == sourceAt.end()) {
        it = sourceAt.emplace(std::string(source), r.sources.size()).first;
        r.sources.push_back({std::string(source)});
      }
      ++r.sources[it->second].count[static_cast<size_t>(back)];
    }

    for (const Book_Buffer* node = p.Bookings.Last(); node && node->Rec.StartD >= forwardFrom; node = node->Prev) {
      const Book_Rec& b = node->Rec;
      if (b.Status == Reserved || b.Status == Cancelled) continue;
      const int nights = Nights(b);
      // The 1sts after it was booked, up to its arrival and today.
      for (auto at = std::upper_bound(firsts.begin(), firsts.end(), b.DateB);
           at != firsts.end() && *at <= b.StartD && *at <= today; ++at) {
        const auto j = at - firsts.begin();
        r.forward[kForwardYears - 1 - j / 12][j % 12] += nights;
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
