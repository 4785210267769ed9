// The chart at agency scale ("M", 200 properties, 20 years of bookings): building the
// week tables of every property, and painting one 1920x1080 viewport offscreen.
// Floors: walking every booking of every list once; filling the viewport's image.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

#include "BenchSupport.h"
#include "app/ChartActions.h"
#include "app/ChartModel.h"
#include "app/forms/ChartPainter.h"
#include "bookings/WeekTable.h"
#include "store/Session.h"

using namespace tb;
using namespace tb::bench;

namespace {

// One session over the agency root in "M", everything read once.
Session& Agency() {
  static BenchSession* b = [] {
    auto* session = new BenchSession(AgencyRoot(200, 20));
    Session& s = session->session();
    s.common.ViewMode = "M";
    s.CurrentProperty = 0;
    LoadShownProperties(s);
    return session;
  }();
  return b->session();
}

long PeakRssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

void BM_WalkAllBookings(benchmark::State& state) {
  Session& s = Agency();
  double sum = 0;
  for (auto _ : state) {
    for (int n = 1; n <= s.NumProps(); ++n)
      for (const Book_Buffer* b = s.Prop(n).Bookings.First(); b; b = b->Next) sum += b->Rec.StartD;
    benchmark::DoNotOptimize(sum);
  }
}

void BM_BuildAllWeekTables(benchmark::State& state) {
  Session& s = Agency();
  for (auto _ : state)
    for (int n = 1; n <= s.NumProps(); ++n) BuildWeekTable(s, n, false);
  state.counters["weeks"] = static_cast<double>(s.Prop(1).Weeks.size());
}

void BM_FillViewport(benchmark::State& state) {
  QImage image(1920, 1080, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    benchmark::DoNotOptimize(image.constBits());
  }
}

// Paints the viewport at the current week, as the window shows it after start-up.
void BM_PaintViewport(benchmark::State& state) {
  Session& s = Agency();
  ChartPainter painter(s);
  const ChartCalendar cal = BuildWeekCalendar(s);
  const int x = TodayScrollPosition(s, cal);
  const QRect area(x, 0, 1920 - chart::kPropertyColumn, 1080 - chart::kHeaderHeight);
  QImage image(1920, 1080, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter p(&image);
    painter.PaintColumnHeading(p);
    p.save();
    p.translate(chart::kPropertyColumn - area.left(), 0);
    painter.PaintHeaderStrip(p, cal, QRect(area.left(), 0, area.width(), chart::kHeaderHeight));
    p.restore();
    p.save();
    p.translate(0, chart::kHeaderHeight);
    painter.PaintPropertyColumn(p, QRect(0, 0, chart::kPropertyColumn, area.height()));
    p.restore();
    p.translate(chart::kPropertyColumn - area.left(), chart::kHeaderHeight);
    painter.PaintAllProperties(p, area);
  }
}

// Paints every viewport of the whole chart, left to right: peak memory must not grow
// with the weeks shown.
void BM_PaintWholeChart(benchmark::State& state) {
  Session& s = Agency();
  ChartPainter painter(s);
  const ChartCalendar cal = BuildWeekCalendar(s);
  const CanvasSize canvas = ChartCanvasSize(s, cal);
  QImage image(1920, 1080, QImage::Format_RGB32);
  const long before = PeakRssKb();
  for (auto _ : state) {
    for (int x = 0; x < canvas.width; x += 1800)
      for (int y = 0; y < canvas.height; y += 1000) {
        QPainter p(&image);
        p.translate(-x, -y);
        painter.PaintAllProperties(p, QRect(x, y, 1800, 1000));
      }
  }
  state.counters["peakRssGrowthKB"] = static_cast<double>(PeakRssKb() - before);
}

BENCHMARK(BM_WalkAllBookings)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_BuildAllWeekTables)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FillViewport)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PaintViewport)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PaintWholeChart)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Agency();  // made and read before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_BuildAllWeekTables", "BM_WalkAllBookings"},
                                               {"BM_PaintViewport", "BM_FillViewport"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
