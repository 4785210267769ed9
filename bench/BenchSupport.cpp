#include "BenchSupport.h"

#include <cstdio>
#include <iostream>

#include "ctl/Demo.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/SystemInfo.h"
#include "store/BookingList.h"
#include "store/Settings.h"

namespace tb::bench {

namespace {

// A demo root folder named prefix + "PxY", made once and kept for later runs.
std::string DemoRoot(const std::string& prefix, int properties, int years) {
  const std::string root = TempFolder() + prefix + std::to_string(properties) + "x" + std::to_string(years) + "/";
  const std::string stamp = root + "made.txt";
  if (FileExists(stamp)) return root;
  std::cerr << "Making the demo root " << root << " ...\n";
  DemoOptions o;
  o.folder = root;
  o.properties = properties;
  o.years = years;
  o.today = SystemClock().Today();
  const std::string error = MakeDemo(o);
  if (!error.empty()) {
    std::cerr << error << "\n";
    std::exit(1);
  }
  WriteWholeFile(stamp, "made\n");
  return root;
}

}  // namespace

std::string AgencyRoot(int properties, int years) { return DemoRoot("tenbrook-bench-", properties, years); }

std::string ChangeLogRoot(int properties, int years) {
  return DemoRoot("tenbrook-changelog-", properties, years);
}

MsgButton FirstButtonDialogs::ShowMessage(const MessageBoxSpec& box) {
  const std::vector<MsgButton> buttons = box.buttons.List();
  return buttons.empty() ? MsgButton::OK : buttons.front();
}

std::string StartupRoot(int properties, int years) {
  const std::string root = DemoRoot("tenbrook-startup-", properties, years);
  IniFile ini(root + "Cotlyn.ini");
  ini.Load();
  if (ini.ReadString("Common", "ViewMode", "") != "M" || ini.ReadString("Common", "Splash", "") != "0") {
    ini.WriteString("Common", "ViewMode", "M");
    ini.WriteString("Common", "Splash", "0");
    ini.Save();
  }
  return root;
}

void WalkEveryBooking(benchmark::State& state, const Session& s) {
  int bookings = 0;
  for (auto _ : state) {
    double sum = 0;
    bookings = 0;
    for (int n = 1; n <= s.NumProps(); ++n)
      for (const Book_Buffer* node = s.Prop(n).Bookings.First(); node; node = node->Next) {
        sum += node->Rec.StartD;
        ++bookings;
      }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["bookings"] = bookings;
}

BenchSession::BenchSession(const std::string& root, bool quiet) {
  registry_ = std::make_unique<RegistryStore>("HKEY_CURRENT_USER", root + "bench-HKCU.reg");
  session_ = std::make_unique<Session>(clock_, quiet ? static_cast<Dialogs&>(quietDialogs_) : dialogs_, *registry_,
                                       processes_);
  Session& s = *session_;
  s.common.RootFolder = root;
  s.common.SettingsPath = root + "Cotlyn.ini";
  s.common.LogPath = root + "Cotlyn.log";
  s.common.TempFolder = root + "tmp/";
  ForceDirectories(s.common.TempFolder);
  s.common.UserName = "bench";
  s.common.ComputerName = "bench";
  LoadSettings(s);
  s.ComputeSeasonYear();
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& r : runs)
    if (r.run_type == Run::RT_Iteration && r.iterations > 0)
      // Keyed by the name without its arguments ("BM_X/min_time:1.000" -> "BM_X").
      seconds_[r.benchmark_name().substr(0, r.benchmark_name().find('/'))] =
          r.real_accumulated_time / static_cast<double>(r.iterations);
  ConsoleReporter::ReportRuns(runs);
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\n");
  for (const auto& [name, floor] : floors_) {
    auto a = seconds_.find(name);
    auto b = seconds_.find(floor);
    if (a == seconds_.end() || b == seconds_.end() || b->second <= 0) continue;
    std::printf("%-40s %9.3f ms   floor %-28s %9.3f ms   ratio %.2f\n", name.c_str(), a->second * 1e3,
                floor.c_str(), b->second * 1e3, a->second / b->second);
  }
}

}  // namespace tb::bench
