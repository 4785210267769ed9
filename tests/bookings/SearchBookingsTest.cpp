// Searching the bookings in memory: surnames with and without a wildcard, any text
// (never across two fields), the row texts, newest first and the heading sort.

#include <gtest/gtest.h>

#include "bookings/SearchBookings.h"
#include "store/BookingList.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kStart = EncodeDate(2027, 3, 6);

class SearchBookingsTest : public ::testing::Test {
 protected:
  SearchBookingsTest() {
    t.Load(SimpleSettings(2));
    s.CurrentProperty = 1;
  }
  Book_Rec& Add(int n, TDateTime start, const std::string& surname, uint8_t status = Hold) {
    return s.Prop(n).Bookings.Append(MakeBooking(start, 7, surname, status))->Rec;
  }
  std::vector<std::string> Found(SearchPurpose purpose, const std::string& text, bool all = true) {
    std::vector<std::string> names;
    for (const SearchHit& h : SearchBookings(s, SearchProperties(s, all), purpose, text).hits)
      names.push_back(h.node->Rec.Surname.str());
    return names;
  }
  std::string Cell(const SearchHit& h, SearchColumn c) {
    std::string out = "stale";
    SearchCellText(h, c, out);
    return out;
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(SearchBookingsTest, NamesMatchWholeOrByTheirBeginningIgnoringCase) {
  Add(1, kStart, "Smith");
  Add(1, kStart + 7, "smart");
  Add(1, kStart + 14, "smith");
  Add(2, kStart, "Smithson");
  Add(2, kStart + 7, "\xC9lise");  // Élise
  Add(2, kStart + 14, "Jones");
  struct Case {
    const char* text;
    std::vector<std::string> found;
  };
  const Case cases[] = {
      {"SM*", {"Smith", "smart", "smith", "Smithson"}},
      {"SMITH", {"Smith", "smith"}},
      {"  smith  ", {"Smith", "smith"}},
      {"\xE9*", {"\xC9lise"}},  // é* finds É
      {"SMITHS", {}},
      {"", {"Smith", "smart", "smith", "Smithson", "\xC9lise", "Jones"}},
      {"*", {"Smith", "smart", "smith", "Smithson", "\xC9lise", "Jones"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(SearchPurpose::Name, c.text), c.found) << c.text;
  // Only the current property unless all are asked for; history searches match alike.
  EXPECT_EQ(Found(SearchPurpose::History, "SM*", false), (std::vector<std::string>{"Smith", "smart", "smith"}));
  const SearchResult r = SearchBookings(s, SearchProperties(s, true), SearchPurpose::Name, "JONES");
  EXPECT_EQ(r.searched, 6);
  ASSERT_EQ(r.hits.size(), 1u);
  EXPECT_EQ(r.hits[0].prop, 2);
  EXPECT_EQ(r.hits[0].rec, 3);
}

TEST_F(SearchBookingsTest, TextIsFoundInAnyFieldButNeverAcrossTwo) {
  Book_Rec& a = Add(1, kStart, "Able");
  a.Phone = "01632 960123";
  a.Email = "able@example.org";
  a.Source = "Web";
  Book_Rec& b = Add(1, kStart + 7, "Baker");
  b.Fnames = "Ren\xE9";  // René
  b.Address = "1 High St\r\nYork";
  b.Comments = "quiet room";
  struct Case {
    const char* text;
    std::vector<std::string> found;
  };
  const Case cases[] = {
      {"960", {"Able"}},
      {"REN\xC9", {"Baker"}},
      {"ren\xE9", {"Baker"}},
      {"York", {"Baker"}},
      {"QUIET ROOM", {"Baker"}},
      {"ABLE@", {"Able"}},
      {"ableJ", {}},           // the surname's end and the first names' start
      {"960123able", {}},      // phone then e-mail
      {"org" "Web", {}},       // e-mail then source (special and comments are empty between)
      {"BakerRen", {}},        // surname then first names
      {"", {"Able", "Baker"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(SearchPurpose::Text, c.text), c.found) << c.text;
}

TEST_F(SearchBookingsTest, RowsShowShortStatusesOneLineTextsAndTheFileColumns) {
  Book_Rec& b = Add(2, kStart, "  Baker ", Cancelled);
  b.EndD = kStart + 6.6;
  b.Fnames = " Jo ";
  b.Address = " 1 High St\r\nYork\nUK\r";
  b.Special = "Dog\r\nCot";
  b.Comments = "Rang\r\ntwice";
  b.DateUpD = EncodeDate(2026, 11, 30) + 0.75;
  const SearchResult r = SearchBookings(s, {2}, SearchPurpose::ListAll, "");
  ASSERT_EQ(r.hits.size(), 1u);
  const SearchHit& h = r.hits[0];
  using C = SearchColumn;
  EXPECT_EQ(Cell(h, C::Date), "2027/03/06");
  EXPECT_EQ(Cell(h, C::Days), "7");
  EXPECT_EQ(Cell(h, C::Surname), "Baker");
  EXPECT_EQ(Cell(h, C::FirstNames), "Jo");
  EXPECT_EQ(Cell(h, C::Address), "1 High St\xB7York\xB7UK");
  EXPECT_EQ(Cell(h, C::Prop), "2");
  EXPECT_EQ(Cell(h, C::Status), "Can");
  EXPECT_EQ(Cell(h, C::Rec), "1");
  EXPECT_EQ(Cell(h, C::Special), "Dog\xB7" "Cot");
  EXPECT_EQ(Cell(h, C::Updated), "2026/11/30");
  EXPECT_EQ(Cell(h, C::Comments), "*Cancelled* Rang\xB7twice");

  const std::vector<std::string> statuses{"", "Res", "Hold", "Dep Paid", "Paid up", "RepayD",
                                          "Complete", "", "", "Can", "Del", ""};
  for (int code = 0; code < 12; ++code) EXPECT_EQ(SearchStatusText(code), statuses[code]) << code;

  std::vector<std::string> headings;
  for (const C c : SearchColumns(true)) headings.push_back(SearchHeading(c));
  EXPECT_EQ(headings, (std::vector<std::string>{"Date", "Days", "Surname", "First names", "Address", "Prop",
                                                "Status", "Rec", "Updated", "Comments"}));
  EXPECT_EQ(SearchHeading(SearchColumns(false).back()), std::string("Special"));
}

TEST_F(SearchBookingsTest, NewestFirstThenByAHeadingReversedOnASecondClickAndKeptOnARerun) {
  Add(1, kStart, "baker");
  Add(1, kStart + 14, "Adams");
  Add(2, kStart + 7, "Cole");
  Add(2, kStart + 21, "\xE9mile");  // émile sorts with E, after Cole
  SearchList list;
  const std::vector<int> all = SearchProperties(s, true);
  const auto names = [&]() {
    std::vector<std::string> out;
    for (const SearchHit& h : list.result.hits) out.push_back(h.node->Rec.Surname.str());
    return out;
  };
  list.Run(s, all, SearchPurpose::ListAll, "");
  EXPECT_EQ(names(), (std::vector<std::string>{"\xE9mile", "Adams", "Cole", "baker"}));
  list.SortBy(SearchColumn::Surname);
  EXPECT_EQ(names(), (std::vector<std::string>{"Adams", "baker", "Cole", "\xE9mile"}));
  list.SortBy(SearchColumn::Surname);
  EXPECT_EQ(names(), (std::vector<std::string>{"\xE9mile", "Cole", "baker", "Adams"}));
  Add(1, kStart + 28, "Dean");
  list.Rerun(s, all, SearchPurpose::ListAll, "");
  EXPECT_EQ(names(), (std::vector<std::string>{"\xE9mile", "Dean", "Cole", "baker", "Adams"}));
  EXPECT_EQ(list.Find(2, kStart + 7.5, "Cole"), 2);
  EXPECT_EQ(list.Find(1, kStart + 7, "Cole"), -1);
  // A new search by the user starts newest first again.
  list.Run(s, all, SearchPurpose::ListAll, "");
  EXPECT_EQ(names().front(), "Dean");
}

}  // namespace
}  // namespace tb::test
