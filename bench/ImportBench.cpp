// Importing 5,000 lines of bookings into one property of an agency root (20 years of
// bookings) against reading the same CSV file and splitting it into its fields: the
// import reads, checks and converts every field, checks each stay against the
// property's bookings and the lines before it, and writes the booking file once.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchSupport.h"
#include "maintenance/ImportBookings.h"
#include "maintenance/ImportCsv.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

constexpr int kLines = 5000;

// Property 1 of the agency root copied to a root of its own (the import writes it),
// and a file of kLines stays after its last booking, each with every column filled.
struct ImportWork {
  ImportWork() {
    const std::string agency = AgencyRoot(200, 20);
    root = TempFolder() + "tenbrook-import-bench/";
    std::filesystem::remove_all(root);
    ForceDirectories(root);
    std::filesystem::copy(agency + "Cotlyn.ini", root + "Cotlyn.ini");
    BenchSession probe(root, true);
    Session& s = probe.session();
    name = s.Prop(1).PropName;
    std::filesystem::copy(agency + name, root + name, std::filesystem::copy_options::recursive);
    bookingFile = BookingFilePath(s, 1);
    ReadWholeFile(bookingFile, bookings);
    ReadBookings(s, 1, false, false);
    TDateTime start = s.Prop(1).Bookings.Last()->Rec.EndD + 1;
    std::string data;
    for (int i = 0; i < kLines; ++i, start += 5) {
      data += name + "," + FormatDateTime("dd/mm/yyyy", start) + " 16:00,4," + std::to_string(100 + i % 900) +
              ".50,Surname" + std::to_string(i) + ",Mr,\"John \"\"Jack\"\"\",1 High Street,Lower Road,Village,Town," +
              "County,AB1 2CD,01234 567890,guest" + std::to_string(i) + "@example.com,Moved from the old system," +
              (i % 2 ? "H" : "") + "\r\n";
    }
    csv = root + "Bookings.csv";
    WriteWholeFile(csv, data);
  }
  std::string root, name, bookingFile, bookings, csv;
};

ImportWork& Work() {
  static ImportWork work;
  return work;
}

// The CSV file read and every field of every line split off; the fields not empty.
size_t ReadAndSplit(const std::string& csv) {
  std::string data, field, error;
  ReadWholeFile(csv, data);
  size_t fields = 0;
  for (std::string_view line : ImportLines(data)) {
    CsvFieldReader reader(line);
    for (int i = 0; i < 17 && reader.Next(field, error); ++i) fields += field.size() > 0;
  }
  return fields;
}

// The floor: the file read and every field of every line split off.
void BM_ReadAndSplitCsv(benchmark::State& state) {
  const ImportWork& w = Work();
  size_t fields = 0;
  for (auto _ : state) {
    fields = ReadAndSplit(w.csv);
    benchmark::DoNotOptimize(fields);
  }
  state.counters["fields"] = static_cast<double>(fields);
}

// What any import must do besides: the file read and split, and the booking file it
// ends with (the 5,000 bookings added) written once through the program's one write.
void BM_ReadSplitAndWrite(benchmark::State& state) {
  ImportWork& w = Work();
  BenchSession b(w.root, true);
  Session& s = b.session();
  WriteWholeFile(w.bookingFile, w.bookings);
  ImportBookings(s, 1, w.csv, false);
  ReadBookings(s, 1, true, false);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadAndSplit(w.csv));
    s.Prop(1).ListModified = 1;
    WriteBookings(s, 1);
  }
  state.counters["bookings"] = s.Prop(1).Bookings.Count();
  ReleaseBookingFile(s);
}

// "Import" with the question answered Yes: the booking file held, read, every line
// checked, the bookings added and sorted, and the file written. The property's file
// is put back between runs (not timed).
void BM_ImportBookings(benchmark::State& state) {
  ImportWork& w = Work();
  BenchSession b(w.root, true);
  Session& s = b.session();
  int count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    WriteWholeFile(w.bookingFile, w.bookings);
    FreeBookings(s, 1);
    s.Prop(1).BookFileAge = 0;
    state.ResumeTiming();
    if (ImportBookings(s, 1, w.csv, false).result != ImportResult::Imported) state.SkipWithError("not imported");
    count = s.Prop(1).Bookings.Count();
  }
  state.counters["bookings"] = count;
}

// The same without the write: the check of every line.
void BM_CheckImport(benchmark::State& state) {
  ImportWork& w = Work();
  BenchSession b(w.root, true);
  Session& s = b.session();
  WriteWholeFile(w.bookingFile, w.bookings);
  for (auto _ : state) {
    if (ImportBookings(s, 1, w.csv, true).result != ImportResult::Valid) state.SkipWithError("not valid");
  }
}

BENCHMARK(BM_ReadAndSplitCsv)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_CheckImport)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ReadSplitAndWrite)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ImportBookings)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Work();  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_CheckImport", "BM_ReadAndSplitCsv"},
                                               {"BM_ReadSplitAndWrite", "BM_ReadAndSplitCsv"},
                                               {"BM_ImportBookings", "BM_ReadSplitAndWrite"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::filesystem::remove_all(Work().root);
  return 0;
}
