// Reading every booking file and the two rates years of an agency (200 properties,
// 20 years of bookings), against reading the same files whole with nothing parsed;
// and rewriting one property's 20-year booking file.

#include <benchmark/benchmark.h>
#include <malloc.h>

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

// As at start-up: every list empty, every file to be read. With freshMemory the memory
// the lists held goes back to the system first, so that the load gets new pages, as a
// new process does; without, it stays in the process (see main).
void LoadAllProperties(benchmark::State& state, bool freshMemory) {
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
    if (freshMemory) malloc_trim(0);
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

void BM_LoadAllProperties(benchmark::State& state) { LoadAllProperties(state, false); }
void BM_LoadAllPropertiesFreshMemory(benchmark::State& state) { LoadAllProperties(state, true); }

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
BENCHMARK(BM_LoadAllPropertiesFreshMemory)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RewriteOneBookingFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  // Memory freed between iterations stays in the process: left to glibc, whether the
  // lists' pages went back to the system between iterations (and had to be faulted in
  // again) hung on where the last few blocks happened to lie, and the same build
  // measured 16 or 27 ms from one run to the next. BM_LoadAllPropertiesFreshMemory hands
  // them back on purpose.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 16 << 20);
  benchmark::Initialize(&argc, argv);
  Root();  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_LoadAllProperties", "BM_ReadFilesWhole"},
                                               {"BM_LoadAllPropertiesFreshMemory", "BM_ReadFilesWhole"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
