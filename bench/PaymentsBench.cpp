// The payments list of an agency (200 properties, 20 years of bookings), this year and
// every year, and the booking list file of every property for a year, against walking
// every booking once.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "reports/BookingReports.h"
#include "reports/Payments.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

std::string Root() { return AgencyRoot(200, 20); }

// Every list read, as the all-properties window holds them (viewMode "M"), or as a
// property window would ("C": every other file's time looked at on each run).
struct PaymentsSession {
  explicit PaymentsSession(const char* viewMode) : b(Root()) {
    Session& s = b.session();
    for (int n = 1; n <= s.NumProps(); ++n) ReadBookings(s, n, false, false);
    s.common.ViewMode = viewMode;
    s.CurrentProperty = 1;
  }
  PaymentOptions Options(bool allYears) {
    Session& s = b.session();
    PaymentOptions o;
    for (int n = 1; n <= s.NumProps(); ++n) o.properties.push_back(n);
    const int year = DecodeDate(s.clock.Today()).year;
    o.start = allYears ? EncodeDate(1900, 1, 1) : EncodeDate(year, 1, 1);
    o.end = allYears ? EncodeDate(2200, 1, 1) : EncodeDate(year, 12, 31);
    return o;
  }
  BenchSession b;
};

// The floor: every booking of every property visited once.
void BM_WalkEveryBooking(benchmark::State& state) {
  PaymentsSession p("M");
  Session& s = p.b.session();
  int bookings = 0;
  for (auto _ : state) benchmark::DoNotOptimize(WalkEveryBooking(s, bookings));
  state.counters["bookings"] = bookings;
}

void Payments(benchmark::State& state, const char* viewMode, bool allYears) {
  PaymentsSession p(viewMode);
  const PaymentOptions o = p.Options(allYears);
  size_t rows = 0;
  for (auto _ : state) {
    const std::vector<PaymentRow> list = PaymentRows(p.b.session(), o);
    rows = list.size();
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_PaymentsThisYear(benchmark::State& state) { Payments(state, "M", false); }
void BM_PaymentsThisYearViewC(benchmark::State& state) { Payments(state, "C", false); }
void BM_PaymentsAllYears(benchmark::State& state) { Payments(state, "M", true); }

// "Booking List.txt" of every property for this year's weeks.
void BM_BookingListEveryProperty(benchmark::State& state) {
  PaymentsSession p("M");
  Session& s = p.b.session();
  const int year = DecodeDate(s.clock.Today()).year;
  std::vector<int> properties;
  for (int n = 1; n <= s.NumProps(); ++n) properties.push_back(n);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = BookingListText(s, {year, 1, year + 1, 1}, properties);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["KB"] = static_cast<double>(bytes) / 1e3;
}

BENCHMARK(BM_WalkEveryBooking)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_PaymentsThisYear)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_PaymentsThisYearViewC)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_PaymentsAllYears)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_BookingListEveryProperty)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Root();  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_PaymentsThisYear", "BM_WalkEveryBooking"},
                                               {"BM_PaymentsThisYearViewC", "BM_WalkEveryBooking"},
                                               {"BM_PaymentsAllYears", "BM_WalkEveryBooking"},
                                               {"BM_BookingListEveryProperty", "BM_WalkEveryBooking"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
