// The search window on an agency (200 properties, 20 years of bookings, every list
// loaded, as the all-properties window holds them): a name search and a text search over
// every property against walking every booking once and touching its texts, and the
// list of all bookings put into the window's model and sorted again by surname.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "bookings/SearchBookings.h"
#include "bookings/forms/SearchModel.h"
#include "store/BookingFile.h"

using namespace tb;
using namespace tb::bench;

namespace {

struct SearchSession {
  SearchSession() : b(AgencyRoot(200, 20)) {
    Session& s = b.session();
    for (int n = 1; n <= s.NumProps(); ++n) ReadBookings(s, n, false, false);
    s.common.ViewMode = "M";
    properties = SearchProperties(s, true);
  }
  BenchSession b;
  std::vector<int> properties;
};

// The floor: each booking visited once, the first byte and the length of each text a
// search may look at read.
void BM_WalkEveryBookingAndItsTexts(benchmark::State& state) {
  SearchSession o;
  const Session& s = o.b.session();
  int bookings = 0;
  for (auto _ : state) {
    size_t sum = 0;
    bookings = 0;
    for (int n = 1; n <= s.NumProps(); ++n)
      for (const Book_Buffer* node = s.Prop(n).Bookings.First(); node; node = node->Next) {
        const Book_Rec& r = node->Rec;
        for (const BookText* t : {&r.Surname, &r.Fnames, &r.Address, &r.Phone, &r.Email, &r.Special, &r.Comments,
                                  &r.Source})
          sum += t->size() + (t->empty() ? 0 : static_cast<unsigned char>(t->data()[0]));
        ++bookings;
      }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["bookings"] = bookings;
}

void Search(benchmark::State& state, SearchPurpose purpose, const char* text) {
  SearchSession o;
  size_t hits = 0;
  for (auto _ : state) {
    const SearchResult r = SearchBookings(o.b.session(), o.properties, purpose, text);
    hits = r.hits.size();
    benchmark::DoNotOptimize(r.hits.data());
  }
  state.counters["hits"] = static_cast<double>(hits);
}

// "Search" with a wildcard, every property.
void BM_NameSearch(benchmark::State& state) { Search(state, SearchPurpose::Name, "sm*"); }
// "Find Text" for part of a telephone number, every property.
void BM_TextSearch(benchmark::State& state) { Search(state, SearchPurpose::Text, "96012"); }

// "View all bookings as list": every booking into the model, newest first.
void BM_ListAllIntoModel(benchmark::State& state) {
  SearchSession o;
  SearchList list;
  SearchModel model(o.b.session(), list, SearchColumns(false));
  for (auto _ : state) {
    model.Changing();
    list.Run(o.b.session(), o.properties, SearchPurpose::ListAll, "");
    model.Changed();
    benchmark::DoNotOptimize(model.rowCount());
  }
  state.counters["rows"] = static_cast<double>(list.result.hits.size());
}

// A click on "Surname" over the whole list.
void BM_ListAllResortBySurname(benchmark::State& state) {
  SearchSession o;
  SearchList list;
  SearchModel model(o.b.session(), list, SearchColumns(false));
  list.Run(o.b.session(), o.properties, SearchPurpose::ListAll, "");
  for (auto _ : state) {
    model.Changing();
    list.SortBy(SearchColumn::Surname);  // alternately ascending and descending
    model.Changed();
    benchmark::DoNotOptimize(list.result.hits.data());
  }
}

BENCHMARK(BM_WalkEveryBookingAndItsTexts)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_NameSearch)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_TextSearch)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_ListAllIntoModel)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_ListAllResortBySurname)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  AgencyRoot(200, 20);  // made before any timing
  RatioReporter reporter(RatioReporter::Floors{{"BM_NameSearch", "BM_WalkEveryBookingAndItsTexts"},
                                               {"BM_TextSearch", "BM_WalkEveryBookingAndItsTexts"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
