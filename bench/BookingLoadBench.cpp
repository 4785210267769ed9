// Reading every booking file and the two rates years of an agency (200 properties,
// 20 years of bookings), against reading the same files whole with nothing parsed;
// and rewriting one property's 20-year booking file.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "platform/SharedFile.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

std::string Root() { return AgencyRoot(200, 20); }

// The floor: the same files, each opened and read whole with one read.
void BM_ReadFilesWhole(benchmark::State& state) {
  BenchSession b(Root());
  Session& s = b.session();
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (int n = 1; n <= s.NumProps(); ++n) {
      for (const std::string& path : {BookingFilePath(s, n), RatesFilePath(s.Prop(n), s.SeasonYear[0]),
                                      RatesFilePath(s.Prop(n), s.SeasonYear[1])}) {
        std::string data;
        ReadWholeFile(path, data);
        bytes += data.size();
      }
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

// As at start-up: every list empty, every file to be read.
void BM_LoadAllProperties(benchmark::State& state) {
  BenchSession b(Root());
  Session& s = b.session();
  int bookings = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int n = 1; n <= s.NumProps(); ++n) {
      Prop_Rec& p = s.Prop(n);
      FreeBookings(s, n);
      p.BookFileAge = 0;
      p.RateCacheAge = {0, 0};
    }
    state.ResumeTiming();
    bookings = 0;
    for (int n = 1; n <= s.NumProps(); ++n) {
      Prop_Rec& p = s.Prop(n);
      ReadBookings(s, n, false, false);
      RefreshRateCache(s, n);
      bookings += p.Bookings.Count();
    }
    benchmark::DoNotOptimize(bookings);
  }
  state.counters["bookings"] = bookings;
}

// One 20-year file rewritten as a save does: locked, safety copy, whole image, fsync.
void BM_RewriteOneBookingFile(benchmark::State& state) {
  BenchSession b(Root());
  Session& s = b.session();
  ReadBookings(s, 1, true, false);
  for (auto _ : state) {
    s.Prop(1).ListModified = 1;
    WriteBookings(s, 1);
  }
  state.counters["bookings"] = s.Prop(1).Bookings.Count();
  ReleaseBookingFile(s);
}

BENCHMARK(BM_ReadFilesWhole)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LoadAllProperties)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RewriteOneBookingFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Root();  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_LoadAllProperties", "BM_ReadFilesWhole"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
