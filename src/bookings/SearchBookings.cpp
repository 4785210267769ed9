#include "bookings/SearchBookings.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/Cp1252.h"
#include "platform/Text.h"
#include "store/BookingList.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr char kLineBreakMark = '\xB7';  // "·" in Windows-1252

// Every byte in capitals as UpperCase1252 gives it, looked up rather than worked out:
// a text search upper-cases every text of every booking.
const std::array<char, 256>& UpperTable() {
  static const std::array<char, 256> table = []() {
    std::string bytes(256, '\0');
    for (int c = 0; c < 256; ++c) bytes[static_cast<size_t>(c)] = static_cast<char>(c);
    bytes = UpperCase1252(std::move(bytes));
    std::array<char, 256> t{};
    std::copy(bytes.begin(), bytes.end(), t.begin());
    return t;
  }();
  return table;
}

char Upper(char ch) { return UpperTable()[static_cast<unsigned char>(ch)]; }

bool EqualUpper(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (Upper(text[i]) != upper[i]) return false;
  return true;
}

// Whether `upper` (in capitals) occurs in text, capitals ignored, read in place.
bool ContainsUpper(std::string_view text, std::string_view upper) {
  if (upper.size() > text.size()) return false;
  const std::array<char, 256>& table = UpperTable();
  const char first = upper[0];
  const size_t last = text.size() - upper.size();
  for (size_t i = 0; i <= last; ++i) {
    if (table[static_cast<unsigned char>(text[i])] != first) continue;
    size_t k = 1;
    while (k < upper.size() && table[static_cast<unsigned char>(text[i + k])] == upper[k]) ++k;
    if (k == upper.size()) return true;
  }
  return false;
}

// A text trimmed, each line break (CR LF, CR or LF) shown as one "·".
void AppendOneLine(std::string& out, std::string_view text) {
  text = TrimView(text);
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      out.push_back(kLineBreakMark);
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(ch);
    }
  }
}

}  // namespace

SearchMatcher::SearchMatcher(SearchPurpose purpose, std::string_view text) {
  byText_ = purpose == SearchPurpose::Text;
  text_ = UpperCase1252(Trim(text));
  if (!byText_ && !text_.empty() && text_.back() == '*') {
    prefix_ = true;
    text_.pop_back();
  }
}

bool SearchMatcher::Matches(const Book_Rec& b) {
  if (text_.empty()) return true;
  if (!byText_) {
    const std::string_view surname = TrimView(b.Surname.view());
    return prefix_ ? surname.size() >= text_.size() && EqualUpper(surname.substr(0, text_.size()), text_)
                   : EqualUpper(surname, text_);
  }
  // Each text on its own, as if the texts were joined with a byte nobody types: a hit
  // never runs from the end of one text into the start of the next. Nothing is copied.
  for (const BookText* t : {&b.Surname, &b.Fnames, &b.Address, &b.Phone, &b.Email, &b.Special, &b.Comments,
                            &b.Source})
    if (ContainsUpper(t->view(), text_)) return true;
  return false;
}

SearchResult SearchBookings(const Session& s, const std::vector<int>& properties, SearchPurpose purpose,
                            std::string_view text) {
  SearchResult result;
  SearchMatcher matcher(purpose, text);
  for (const int n : properties) {
    int position = 0;
    for (Book_Buffer* b = s.Prop(n).Bookings.First(); b; b = b->Next) {
      ++position;
      ++result.searched;
      if (matcher.Matches(b->Rec)) result.hits.push_back({b, n, position});
    }
  }
  return result;
}

std::vector<int> SearchProperties(const Session& s, bool allProperties) {
  if (s.AppState == 'F') return {0};
  if (!allProperties) return {s.CurrentProperty};
  std::vector<int> properties;
  for (int n = 1; n <= s.NumProps(); ++n) properties.push_back(n);
  return properties;
}

std::vector<SearchColumn> SearchColumns(bool fileListing) {
  using C = SearchColumn;
  std::vector<C> columns{C::Date, C::Days, C::Surname, C::FirstNames, C::Address, C::Prop, C::Status, C::Rec};
  if (fileListing) {
    columns.push_back(C::Updated);
    columns.push_back(C::Comments);
  } else {
    columns.push_back(C::Special);
  }
  return columns;
}

const char* SearchHeading(SearchColumn c) {
  static const char* const kHeadings[] = {"Date", "Days",   "Surname", "First names", "Address", "Prop",
                                          "Status", "Rec", "Special", "Updated",     "Comments"};
  return kHeadings[static_cast<int>(c)];
}

const char* SearchStatusText(int status) {
  static const char* const kTexts[kStatusCount] = {"",         "Res", "Hold", "Dep Paid", "Paid up", "RepayD",
                                                   "Complete", "",    "",     "Can",      "Del"};
  return status >= 0 && status < kStatusCount ? kTexts[status] : "";
}

void SearchCellText(const SearchHit& h, SearchColumn c, std::string& out) {
  out.clear();
  const Book_Rec& b = h.node->Rec;
  switch (c) {
    case SearchColumn::Date: out += SortableDateText(b.StartD); break;
    case SearchColumn::Days: out += std::to_string(std::lround(b.EndD - b.StartD)); break;
    case SearchColumn::Surname: out += TrimView(b.Surname.view()); break;
    case SearchColumn::FirstNames: out += TrimView(b.Fnames.view()); break;
    case SearchColumn::Address: AppendOneLine(out, b.Address.view()); break;
    case SearchColumn::Prop: out += std::to_string(h.prop); break;
    case SearchColumn::Status: out += SearchStatusText(b.Status); break;
    case SearchColumn::Rec: out += std::to_string(h.rec); break;
    case SearchColumn::Special: AppendOneLine(out, b.Special.view()); break;
    case SearchColumn::Updated: out += SortableDateText(b.DateUpD); break;
    case SearchColumn::Comments:
      if (b.Status == Cancelled) out += "*Cancelled* ";
      AppendOneLine(out, b.Comments.view());
      break;
  }
}

void SearchList::Run(const Session& s, const std::vector<int>& properties, SearchPurpose purpose,
                     std::string_view text) {
  sorted = false;
  descending = false;
  Rerun(s, properties, purpose, text);
}

void SearchList::Rerun(const Session& s, const std::vector<int>& properties, SearchPurpose purpose,
                       std::string_view text) {
  result = SearchBookings(s, properties, purpose, text);
  freedCount_ = s.BookingsFreed;
  Sort();
}

bool SearchList::Stale(const Session& s) const { return !result.hits.empty() && freedCount_ != s.BookingsFreed; }

void SearchList::SortBy(SearchColumn column) {
  descending = sorted && column == sortColumn ? !descending : false;
  sorted = true;
  sortColumn = column;
  Sort();
}

int SearchList::Find(int prop, TDateTime start, std::string_view surname) const {
  for (size_t i = 0; i < result.hits.size(); ++i) {
    const SearchHit& h = result.hits[i];
    if (h.prop == prop && std::floor(h.node->Rec.StartD) == std::floor(start) && h.node->Rec.Surname.view() == surname)
      return static_cast<int>(i);
  }
  return -1;
}

void SearchList::Clear() { result = {}; }

void SearchList::Sort() {
  std::vector<SearchHit>& hits = result.hits;
  if (!sorted) {
    std::stable_sort(hits.begin(), hits.end(),
                     [](const SearchHit& a, const SearchHit& b) { return a.node->Rec.StartD > b.node->Rec.StartD; });
    return;
  }
  // Every row's text of the column, made once into one buffer, then compared in place.
  std::string keys;
  std::vector<uint32_t> offsets;
  offsets.reserve(hits.size() + 1);
  std::string cell;
  for (const SearchHit& h : hits) {
    offsets.push_back(static_cast<uint32_t>(keys.size()));
    SearchCellText(h, sortColumn, cell);
    keys += cell;
  }
  offsets.push_back(static_cast<uint32_t>(keys.size()));
  const auto key = [&](uint32_t i) { return std::string_view(keys).substr(offsets[i], offsets[i + 1] - offsets[i]); };
  std::vector<uint32_t> order(hits.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int c = CompareText1252(key(a), key(b));
    return descending ? c > 0 : c < 0;
  });
  std::vector<SearchHit> ordered;
  ordered.reserve(hits.size());
  for (const uint32_t i : order) ordered.push_back(hits[i]);
  hits = std::move(ordered);
}

}  // namespace tb
