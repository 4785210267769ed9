// "Export all" of an agency (200 properties, 20 years of bookings): every booking of
// every property written as a line and "Bookings.csv" written once, against a floor
// measured in the same run: the same bytes written once through the same crash-safe
// write. With every list held ("M", as an agency runs) and, apart, with the lists read
// first as "C" reads them.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "maintenance/Export.h"
#include "platform/FileSystem.h"

using namespace tb;
using namespace tb::bench;

namespace {

ExportRun EveryBooking(const Session& s) {
  ExportRun run;
  for (int n = 1; n <= s.NumProps(); ++n) run.properties.push_back(n);
  run.from = EncodeDate(1900, 1, 1);
  run.to = EncodeDate(9999, 12, 31);
  return run;
}

// Every list read once and held, as "M" holds them.
void HoldEveryList(Session& s) {
  std::vector<std::string> log;
  ExportAll(s, EveryBooking(s), log);
  s.common.ViewMode = "M";
}

void BM_FloorWriteSameBytes(benchmark::State& state) {
  BenchSession b(AgencyRoot(200, 20), true);
  Session& s = b.session();
  HoldEveryList(s);
  const ExportRun run = EveryBooking(s);
  std::vector<std::string> log;
  const std::string csv = AllBookingsCsv(s, run, log);
  const std::string out = s.common.RootFolder + "Floor.csv";
  for (auto _ : state) WriteWholeFile(out, csv);
  state.counters["MB"] = static_cast<double>(csv.size()) / 1e6;
}

void ExportEveryBooking(benchmark::State& state, bool held) {
  BenchSession b(AgencyRoot(200, 20), true);
  Session& s = b.session();
  if (held) HoldEveryList(s);
  const ExportRun run = EveryBooking(s);
  std::vector<std::string> log;
  for (auto _ : state) {
    log.clear();
    if (ExportAll(s, run, log) != ExportOutcome::Written) state.SkipWithError("not written");
  }
  state.counters["MB"] = static_cast<double>(FileSizeOf(BookingsExportPath(s))) / 1e6;
}

void BM_ExportAll(benchmark::State& state) { ExportEveryBooking(state, true); }
void BM_ExportAllReadingLists(benchmark::State& state) { ExportEveryBooking(state, false); }

BENCHMARK(BM_FloorWriteSameBytes)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ExportAll)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ExportAllReadingLists)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Floors{{"BM_ExportAll", "BM_FloorWriteSameBytes"},
                                              {"BM_ExportAllReadingLists", "BM_FloorWriteSameBytes"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
