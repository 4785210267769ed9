// The web files of an agency (200 properties, 20 years of bookings): propinfo.php with
// a year of availability and two months of departures, and ratequery.php, each
// against a floor measured in the same run: the rates files it reads, read whole once
// each, and (for propinfo.php) every booking walked once.

#include <benchmark/benchmark.h>

#include <vector>

#include "BenchSupport.h"
#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "web/WebFiles.h"

using namespace tb;
using namespace tb::bench;

namespace {

// Every list read, as a property window holds them ("C": the rates of the other
// properties come from their files, as they would for the upload).
struct WebSession {
  WebSession() : b(AgencyRoot(200, 20)) {
    Session& s = b.session();
    for (int n = 1; n <= s.NumProps(); ++n) ReadBookings(s, n, false, false);
    s.common.ViewMode = "C";
    s.CurrentProperty = 1;
    RefreshRateCache(s, 1);
    s.common.NAvDays = 365;
    s.common.wUCD = 60;
  }
  // The rates files of every property from this year on, as far as they go; with
  // `years` set, only that many.
  std::vector<std::string> RatesFiles(int years) {
    Session& s = b.session();
    std::vector<std::string> files;
    const int year = DecodeDate(s.clock.Today()).year;
    for (int n = 1; n <= s.NumProps(); ++n)
      for (int y = year; years == 0 || y < year + years; ++y) {
        const std::string path = RatesFilePath(s.Prop(n), y);
        if (!FileExists(path)) break;
        files.push_back(path);
      }
    return files;
  }
  BenchSession b;
};

void Floor(benchmark::State& state, WebSession& w, const std::vector<std::string>& files, bool walkBookings) {
  const Session& s = w.b.session();
  std::string data;
  for (auto _ : state) {
    size_t bytes = 0;
    for (const std::string& f : files) {
      ReadWholeFile(f, data);
      bytes += data.size();
    }
    double sum = 0;
    if (walkBookings)
      for (int n = 1; n <= s.NumProps(); ++n)
        for (const Book_Buffer* node = s.Prop(n).Bookings.First(); node; node = node->Next) sum += node->Rec.StartD;
    benchmark::DoNotOptimize(bytes);
    benchmark::DoNotOptimize(sum);
  }
  state.counters["files"] = static_cast<double>(files.size());
}

// propinfo.php's weeks reach into next year: two rates files a property.
void BM_FloorPropInfo(benchmark::State& state) {
  WebSession w;
  Floor(state, w, w.RatesFiles(2), true);
}

void BM_FloorRateQuery(benchmark::State& state) {
  WebSession w;
  Floor(state, w, w.RatesFiles(0), false);
}

void BM_PropInfo(benchmark::State& state) {
  WebSession w;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = PropInfoText(w.b.session());
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["KB"] = static_cast<double>(bytes) / 1e3;
}

void BM_RateQuery(benchmark::State& state) {
  WebSession w;
  int rows = 0;
  for (auto _ : state) {
    const std::string text = RateQueryText(w.b.session(), rows);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["rows"] = rows;
}

BENCHMARK(BM_FloorPropInfo)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PropInfo)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FloorRateQuery)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RateQuery)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter({{"BM_PropInfo", "BM_FloorPropInfo"}, {"BM_RateQuery", "BM_FloorRateQuery"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
