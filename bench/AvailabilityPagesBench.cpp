// The availability pages of an agency (200 properties, 20 years of bookings) made again
// over three years of weeks, one row a week, against a floor measured in the same run:
// the same files read (template, page, backup, the rates of the three years, the
// booking file) and the same bytes written and put in place the same way.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "store/Settings.h"
#include "web/AvailabilityPages.h"

using namespace tb;
using namespace tb::bench;

namespace {

constexpr const char* kRow =
    "<tr class=\"@OE\"><td>@SD</td><td>@ED</td><td>@N</td><td>@R</td><td>@A</td><td>@C</td></tr>";

// Every property with a page and a row template in a folder of its own.
struct PageSession {
  PageSession() : b(AgencyRoot(200, 20)) {
    Session& s = b.session();
    s.common.ViewMode = "C";
    s.CurrentProperty = 1;
    for (int n = 1; n <= s.NumProps(); ++n) {
      ReadBookings(s, n, false, false);
      const std::string folder = s.common.RootFolder + "BenchWeb/P" + std::to_string(n) + "/";
      ForceDirectories(folder);
      WriteWholeFile(folder + kRowTemplateFile, kRow);
      WriteWholeFile(folder + "avail.htm",
                     "<html>\r\n<p><!--PubDate-->\r\nnot yet\r\n</p>\r\n<table>\r\n<!--RateLines-->\r\n</table>\r\n"
                     "</html>\r\n");
      s.Prop(n).WebFolder = folder;
      s.Prop(n).WebAvail = "avail.htm";
      run.properties.push_back(n);
    }
    const int year = DecodeDate(s.clock.Today()).year;
    run.startYear = year;
    run.endYear = year + 2;
    run.wLDts = true;
    UpdateAvailabilityPages(s, run);  // every page and backup as a run leaves them
  }
  BenchSession b;
  PageRun run;
};

void BM_FloorPages(benchmark::State& state) {
  PageSession p;
  Session& s = p.b.session();
  std::vector<std::string> reads;
  std::vector<std::string> pages;
  for (const int n : p.run.properties) {
    const std::string page = AvailabilityPagePath(s, n);
    pages.push_back(page);
    for (const std::string& f : {LocalWebFolder(s, n) + kRowTemplateFile, page, page.substr(0, page.size() - 3) + "bak",
                                 BookingFilePath(s, n)})
      reads.push_back(f);
    for (int y = p.run.startYear; y <= p.run.endYear; ++y) reads.push_back(RatesFilePath(s.Prop(n), y));
  }
  std::vector<std::string> images(pages.size());
  for (size_t i = 0; i < pages.size(); ++i) ReadWholeFile(pages[i], images[i]);
  std::string data;
  for (auto _ : state) {
    size_t bytes = 0;
    for (const std::string& f : reads) {
      if (ReadWholeFile(f, data)) bytes += data.size();
    }
    for (size_t i = 0; i < pages.size(); ++i) {
      const std::string bak = pages[i].substr(0, pages[i].size() - 3) + "bak";
      const std::string work = WorkFileFor(pages[i], "new");
      const std::string bakWork = WorkFileFor(bak, "new");
      WriteWholeFile(work, images[i]);
      WriteWholeFile(bakWork, images[i]);
      ReplaceFileAt(bakWork, bak);
      ReplaceFileAt(work, pages[i]);
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["files"] = static_cast<double>(reads.size());
}

void BM_Pages(benchmark::State& state) {
  PageSession p;
  size_t rows = 0;
  for (auto _ : state) {
    const PageRunResult r = UpdateAvailabilityPages(p.b.session(), p.run);
    rows = static_cast<size_t>(r.pages.empty() ? 0 : r.pages.front().linesWritten);
    if (!r.AllWritten()) state.SkipWithError("a page was not written");
  }
  state.counters["lines"] = static_cast<double>(rows);
}

BENCHMARK(BM_FloorPages)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Pages)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Floors{{"BM_Pages", "BM_FloorPages"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
