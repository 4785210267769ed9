// The monthly accounts of an agency (200 properties, 20 years of bookings): every
// property's account printed and the agent summary, to a recording canvas, against
// walking every booking once.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "reports/AccountsRun.h"
#include "reports/ReportPrinter.h"
#include "reports/RecordingCanvas.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

std::string Root() { return AgencyRoot(200, 20); }

// Every list read, as the all-properties window holds them.
struct AccountsSession {
  AccountsSession() : b(Root()) {
    Session& s = b.session();
    for (int n = 1; n <= s.NumProps(); ++n) ReadBookings(s, n, false, false);
    s.common.ViewMode = "M";
    s.CurrentProperty = 1;
  }
  BenchSession b;
};

void BM_WalkEveryBooking(benchmark::State& state) {
  AccountsSession a;
  WalkEveryBooking(state, a.b.session());
}

// The month just ended, for every property, as the window runs it with the agent report.
void BM_AccountsEveryProperty(benchmark::State& state) {
  AccountsSession a;
  Session& s = a.b.session();
  const DateParts today = DecodeDate(s.clock.Today());
  AccountsRequest r;
  for (int n = 1; n <= s.NumProps(); ++n) r.properties.push_back(n);
  r.year = today.month == 1 ? today.year - 1 : today.year;
  r.month = today.month == 1 ? 12 : today.month - 1;
  r.agentReport = true;
  size_t ops = 0;
  bool complete = true;
  // One canvas for every job, emptied before each, as a printer driver keeps its
  // buffers: the run is measured, not the recorder's growing.
  test::RecordingCanvas canvas;
  for (auto _ : state) {
    ops = 0;
    AccountsOutput out;
    out.printJob = [&](const std::function<bool(ReportPrinter&)>& job) {
      canvas.ops.clear();
      ReportPrinter printer(s, canvas);
      const bool printed = job(printer);
      ops += canvas.ops.size();
      return printed;
    };
    complete = RunMonthlyAccounts(s, r, out) == AccountsEnd::Complete && complete;
  }
  if (!complete) state.SkipWithError("the run did not complete");
  state.counters["drawn"] = static_cast<double>(ops);
}

BENCHMARK(BM_WalkEveryBooking)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_AccountsEveryProperty)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Root();  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_AccountsEveryProperty", "BM_WalkEveryBooking"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
