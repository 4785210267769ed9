// "Analyse" of the statistics window on every property of an agency (200 properties, 20
// years of bookings) against walking every booking once.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "reports/Statistics.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

// Every list read and held, as the all-properties window holds them.
struct AgencySession {
  AgencySession() : b(AgencyRoot(200, 20)) {
    Session& s = b.session();
    for (int n = 1; n <= s.NumProps(); ++n) {
      ReadBookings(s, n, false, false);
      properties.push_back(n);
    }
    s.common.ViewMode = "M";
    s.CurrentProperty = 1;
    s.ComputeSeasonYear();
  }
  BenchSession b;
  std::vector<int> properties;
};

// The floor: every booking of every property visited once.
void BM_WalkEveryBooking(benchmark::State& state) {
  AgencySession a;
  WalkEveryBooking(state, a.b.session());
}

void BM_AnalyseEveryProperty(benchmark::State& state) {
  AgencySession a;
  size_t lines = 0;
  for (auto _ : state) {
    const StatsResult r = AnalyseBookings(a.b.session(), a.properties, 5, 4);
    const std::vector<StatsLine> text = StatsLines(r);
    lines = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
}

BENCHMARK(BM_WalkEveryBooking)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_AnalyseEveryProperty)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  AgencyRoot(200, 20);  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_AnalyseEveryProperty", "BM_WalkEveryBooking"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
