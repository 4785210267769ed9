// An agency's owner database (2,000 owners over 200 properties): read, sorted and
// listed as the owner list window shows it (properties per owner, duplicate numbers),
// against reading the same file whole with nothing parsed.

#include <benchmark/benchmark.h>

#include <random>

#include "BenchSupport.h"
#include "owners/OwnerDB.h"
#include "owners/OwnerListRows.h"
#include "owners/OwnerOrder.h"
#include "platform/FileSystem.h"

using namespace tb;
using namespace tb::bench;

namespace {

constexpr int kOwners = 2000;

// A root of its own holding the owner file; the property table comes from the agency demo.
std::string OwnerRoot() {
  static const std::string root = [] {
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/tenbrook-bench-owners/";
    ForceDirectories(folder);
    std::mt19937 rng(2000);
    std::vector<Owner_Rec> owners(kOwners);
    for (int i = 0; i < kOwners; ++i) {
      Owner_Rec& o = owners[static_cast<size_t>(i)];
      o.OwnerID = static_cast<uint16_t>(i % 1990 + 1);  // a few numbers twice
      o.OwnerSurname = "Surname" + std::to_string(rng() % 5000);
      o.OwnerFName = "First " + std::to_string(i);
      o.OwnerAddress = std::to_string(i) + " Long Lane\r\nSome Village\r\nMarket Town\r\nAB1 2CD";
      o.OwnerPhone = "01234 " + std::to_string(100000 + i);
      o.OwnerEmail = "owner" + std::to_string(i) + "@example.com";
      o.OwnerURL = i % 3 ? "" : "www.owner" + std::to_string(i) + ".example";
      o.OwnerNotes = std::string(static_cast<size_t>(rng() % 200), 'n');
      o.OwnerUpdated = 46000 + i;
    }
    SortOwnersByName(owners);
    WriteWholeFile(folder + "Owners.bko", OwnersImage(owners));
    return folder;
  }();
  return root;
}

// Properties and their owner numbers, with the owner file's root.
struct OwnerBenchSession {
  OwnerBenchSession() : b(AgencyRoot(200, 1)) {
    Session& s = b.session();
    s.common.RootFolder = OwnerRoot();
    for (int n = 1; n <= s.NumProps(); ++n) s.Prop(n).Owner = static_cast<uint16_t>(n * 7 % 2100);
  }
  BenchSession b;
};

// The floor: the same file opened and read whole with one read.
void BM_ReadOwnerFileWhole(benchmark::State& state) {
  const std::string path = OwnerRoot() + "Owners.bko";
  size_t bytes = 0;
  for (auto _ : state) {
    std::string data;
    ReadWholeFile(path, data);
    bytes = data.size();
    benchmark::DoNotOptimize(data.data());
  }
  state.counters["KB"] = static_cast<double>(bytes) / 1e3;
}

// What opening the owner list costs: the file read and parsed, the database sorted,
// every row built with its property count, the owners without property counted and
// every duplicate pair found.
void BM_ReadSortAndListOwners(benchmark::State& state) {
  OwnerBenchSession o;
  Session& s = o.b.session();
  size_t pairs = 0;
  int without = 0;
  for (auto _ : state) {
    Owners(s).fileAge = -2;  // read again each time
    OpenOwnerDB(s, false);
    SortOwners(s, OwnerList(s).front().OwnerID);
    const OwnerListTable table = OwnerListRows(s);
    without = OwnersWithoutProperties(table.rows);
    pairs = DuplicateOwnerPairs(OwnerList(s)).size();
    benchmark::DoNotOptimize(table.rows.data());
  }
  state.counters["owners"] = static_cast<double>(OwnerList(s).size());
  state.counters["noProps"] = without;
  state.counters["dupPairs"] = static_cast<double>(pairs);
}

BENCHMARK(BM_ReadOwnerFileWhole)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_ReadSortAndListOwners)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  OwnerRoot();  // made before any timing
  AgencyRoot(200, 1);
  RatioReporter reporter(RatioReporter::Floors{{"BM_ReadSortAndListOwners", "BM_ReadOwnerFileWhole"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
