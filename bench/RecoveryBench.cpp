// Recovery from the largest change log of an agency (200 properties, 20 years): the log
// read as booking-file mode reads it, the three passes, and "Recovered.bks" written,
// against a floor measured in the same run: the log read whole once and as many bytes
// as the result written once, through the same crash-safe write.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/Startup.h"
#include "bookings/Recovery.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

struct LargestLog {
  LargestLog() : b(ChangeLogRoot(200, 20), true) {
    Session& s = b.session();
    for (int n = 1; n <= s.NumProps(); ++n) {
      const std::string log = s.Prop(n).Folder + "Archive/Changed.bks";
      if (FileSizeOf(log) > FileSizeOf(path)) {
        path = log;
        property = n;
      }
    }
    s.DirectFile = path;
    CopyConfiguration(s.Prop(property), s.Prop(0));
  }
  BenchSession b;
  std::string path;
  int property = 1;
};

void BM_FloorReadLogWriteResult(benchmark::State& state) {
  LargestLog l;
  Session& s = l.b.session();
  const int64_t resultSize = FileSizeOf(s.Prop(l.property).Folder + "Data/Bookings.bks");
  const std::string result(static_cast<size_t>(resultSize), 'x');
  const std::string out = s.common.RootFolder + "Floor.bks";
  std::string data;
  for (auto _ : state) {
    ReadWholeFile(l.path, data);
    WriteWholeFile(out, result);
    benchmark::DoNotOptimize(data.data());
  }
  state.counters["log_KB"] = static_cast<double>(data.size()) / 1e3;
  state.counters["out_KB"] = static_cast<double>(resultSize) / 1e3;
}

void BM_RecoverLargestChangeLog(benchmark::State& state) {
  LargestLog l;
  Session& s = l.b.session();
  int lines = 0;
  for (auto _ : state) {
    s.Prop(0).BookFileAge = 0;  // read again, as a new booking-file mode run reads it
    ReadBookings(s, 0, false, false);
    SortBookings(s, 0);
    lines = 0;
    const RecoveryOutcome outcome =
        RecoverFromChangeLog(s, s.Prop(0).Bookings, "", [&lines](const std::string&) { ++lines; });
    if (outcome != RecoveryOutcome::Written) state.SkipWithError("not written");
  }
  state.counters["records"] = s.Prop(0).Bookings.Count();
  state.counters["lines"] = lines;
}

BENCHMARK(BM_FloorReadLogWriteResult)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RecoverLargestChangeLog)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Floors{{"BM_RecoverLargestChangeLog", "BM_FloorReadLogWriteResult"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
