// Merging a booking into a 4 MB rich-text proforma (a 3 MB picture, 400 fields in a
// megabyte of text), against copying the proforma's bytes once.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "correspondence/LetterMerge.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

// A proforma as a word processor saves one with a logo: a font table, a generator
// destination, the picture's hex, and paragraphs with fields among them.
const std::string& Proforma() {
  static const std::string text = [] {
    std::string t = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\generator Writer}\r\n";
    t += "{\\pict\\pngblip\\picw400\\pich200 ";
    const char hex[] = "0123456789abcdef";
    for (size_t i = 0; i < 3'000'000; ++i) t += (i % 129 == 128) ? '\n' : hex[(i * 7919) % 16];
    t += "}\r\n";
    const char* names[] = {"Salutation", "Balance", "BalDue", "Addressee", "StartDate", "PropName", "Total", "Rent"};
    for (int i = 0; i < 400; ++i) {
      const size_t end = t.size() + 2500;
      t += "\\par Dear <!" + std::string(names[i % 8]) + ">, ";
      while (t.size() < end) t += "Thank you for choosing us; the cottage will be ready for <you>. ";
    }
    return t + "}\r\n";
  }();
  return text;
}

void BM_CopyProforma(benchmark::State& state) {
  const std::string& proforma = Proforma();
  for (auto _ : state) {
    std::string copy(proforma);
    benchmark::DoNotOptimize(copy.data());
  }
  state.counters["MB"] = static_cast<double>(proforma.size()) / 1e6;
}

void BM_MergeProforma(benchmark::State& state) {
  BenchSession b(AgencyRoot(4, 1));
  Session& s = b.session();
  ReadBookings(s, 1, false, false);
  const Book_Rec booking = s.Prop(1).Bookings.First()->Rec;
  const std::string& proforma = Proforma();
  for (auto _ : state) {
    std::string letter = MergeLetter(proforma, LetterFields(s, 1, booking, ProformaKind::Rtf, std::nullopt),
                                     ProformaKind::Rtf);
    benchmark::DoNotOptimize(letter.data());
  }
  state.counters["MB"] = static_cast<double>(proforma.size()) / 1e6;
}

BENCHMARK(BM_CopyProforma)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MergeProforma)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Proforma();
  RatioReporter reporter(RatioReporter::Floors{{"BM_MergeProforma", "BM_CopyProforma"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
