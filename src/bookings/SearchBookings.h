#pragma once
// Finding bookings by surname (a trailing "*" for a beginning), by any text, or all of
// them, over the lists in memory, and the rows the search window shows: an array of
// hits that refer to their bookings, sorted newest first or by a column's text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;
struct Book_Buffer;
struct Book_Rec;

// Who opened the window decides what it looks for and what a chosen line does.
enum class SearchPurpose { Name, Text, ListAll, History };

// The search text prepared once: trimmed and in capitals.
class SearchMatcher {
 public:
  SearchMatcher(SearchPurpose purpose, std::string_view text);
  // Name searches compare the surname; text searches look through each of the
  // customer's texts, so a hit never spans two of them. An empty text matches every
  // booking.
  bool Matches(const Book_Rec& b);

 private:
  bool byText_ = false;
  bool prefix_ = false;
  std::string text_;
};

struct SearchHit {
  Book_Buffer* node = nullptr;  // valid until its property's list is read again
  int prop = 0;
  int rec = 0;  // the booking's position in its property's list, from 1
};

struct SearchResult {
  std::vector<SearchHit> hits;
  int searched = 0;  // bookings examined
};

// The hits in properties' lists (property then list order).
SearchResult SearchBookings(const Session& s, const std::vector<int>& properties, SearchPurpose purpose,
                            std::string_view text);
// Where a search looks: the file being edited in booking-file mode (entry 0), every
// property when asked to, else the current one.
std::vector<int> SearchProperties(const Session& s, bool allProperties);

// The list's columns. Listing a booking file shows "Updated" and "Comments" in place of
// "Special".
enum class SearchColumn { Date, Days, Surname, FirstNames, Address, Prop, Status, Rec, Special, Updated, Comments };
std::vector<SearchColumn> SearchColumns(bool fileListing);
const char* SearchHeading(SearchColumn c);
// "Res", "Hold", "Dep Paid", ... by status code; "" for the rest.
const char* SearchStatusText(int status);
// A cell as shown (Windows-1252), written into `out`.
void SearchCellText(const SearchHit& h, SearchColumn c, std::string& out);

// The window's list: run, sorted by a heading, run again keeping that sort.
class SearchList {
 public:
  // A search started by the user: newest first.
  void Run(const Session& s, const std::vector<int>& properties, SearchPurpose purpose, std::string_view text);
  // The same search again (after a booking was saved or the lists re-read), in the
  // order the user chose.
  void Rerun(const Session& s, const std::vector<int>& properties, SearchPurpose purpose, std::string_view text);
  // A click on a heading: by that column's text ignoring case, the same again reverses.
  void SortBy(SearchColumn column);
  // The line showing a booking of property prop with this start day and surname, or -1.
  int Find(int prop, TDateTime start, std::string_view surname) const;
  void Clear();
  // The hits point at bookings that were freed since the search (another search or a
  // refresh read their lists again, or one was deleted): none may be used.
  bool Stale(const Session& s) const;

  SearchResult result;
  bool sorted = false;  // by a column, not by date
  SearchColumn sortColumn = SearchColumn::Date;
  bool descending = false;

 private:
  void Sort();
  uint64_t freedCount_ = 0;  // the session's count when the hits were taken
};

}  // namespace tb
