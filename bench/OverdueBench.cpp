// The overdue list of an agency (200 properties, 20 years of bookings, every list
// loaded, as the all-properties window holds them) against walking every booking once
// and touching its texts, as the list must look at every booking's status and names.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "reports/OverdueList.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

struct OverdueSession {
  OverdueSession() : b(AgencyRoot(200, 20)) {
    Session& s = b.session();
    for (int n = 1; n <= s.NumProps(); ++n) ReadBookings(s, n, false, false);
    s.common.ViewMode = "M";
  }
  BenchSession b;
};

// The floor: each booking visited once, its start, status and both names read.
void BM_WalkEveryBookingAndItsNames(benchmark::State& state) {
  OverdueSession o;
  const Session& s = o.b.session();
  int bookings = 0;
  for (auto _ : state) {
    double sum = 0;
    size_t bytes = 0;
    bookings = 0;
    for (int n = 1; n <= s.NumProps(); ++n)
      for (const Book_Buffer* node = s.Prop(n).Bookings.First(); node; node = node->Next) {
        sum += node->Rec.StartD + node->Rec.Status;
        if (!node->Rec.Surname.empty()) bytes += static_cast<unsigned char>(node->Rec.Surname[0]);
        if (!node->Rec.Fnames.empty()) bytes += static_cast<unsigned char>(node->Rec.Fnames[0]);
        ++bookings;
      }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bookings"] = bookings;
}

// "List Overdue Items" over every property: built (nothing to read in "M") and sorted
// by surname, as a click on the heading does.
void BM_OverdueList(benchmark::State& state) {
  OverdueSession o;
  size_t rows = 0;
  for (auto _ : state) {
    OverdueList list;
    list.Build(o.b.session());
    rows = list.rows.size();
    benchmark::DoNotOptimize(list.rows.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_OverdueListSorted(benchmark::State& state) {
  OverdueSession o;
  for (auto _ : state) {
    OverdueList list;
    list.Build(o.b.session());
    list.SortBy(OverdueColumn::Surname);
    benchmark::DoNotOptimize(list.rows.data());
  }
}

BENCHMARK(BM_WalkEveryBookingAndItsNames)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_OverdueList)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_OverdueListSorted)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  AgencyRoot(200, 20);  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_OverdueList", "BM_WalkEveryBookingAndItsNames"},
                                               {"BM_OverdueListSorted", "BM_WalkEveryBookingAndItsNames"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
