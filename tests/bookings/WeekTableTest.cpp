#include "bookings/WeekTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "bookings/BookingStatus.h"
#include "bookings/Rates.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

constexpr uint8_t C = kChangeoverBit;
constexpr uint8_t P = Paid;

struct Let {
  std::string surname;
  TDateTime start;
  int nights;
  uint8_t status = Paid;
  uint8_t flags = 0;
};

// One property with a Saturday changeover and no rates files; the chart shows 2026
// (from Sat 3 Jan 2026, 53 weeks) and 2027 (52 weeks).
class WeekTableTest : public testing::Test {
 protected:
  void SetUp() override {
    t.Load(SimpleSettings(1));
    s.SeasonYear = {2026, 2027};
    s.CurrentProperty = 1;
  }
  void Add(const std::vector<Let>& lets) {
    for (const Let& l : lets) {
      Book_Rec r;
      r.Surname = l.surname;
      r.StartD = l.start;
      r.EndD = l.start + l.nights;
      r.Status = l.status;
      r.Flag = l.flags;
      r.DateB = EncodeDate(2025, 11, 20);
      p().Bookings.Append(r);
    }
    p().Bookings.SortByStart();
  }
  const Status_Rec& Week(TDateTime date) {
    const int k = WeekIndex(p().Weeks, date);
    EXPECT_TRUE(k >= 0 && k < static_cast<int>(p().Weeks.size()));
    return p().Weeks.at(static_cast<size_t>(k));
  }
  Prop_Rec& p() { return s.Prop(1); }
  TestSession t;
  Session& s = t.session;
};

// Lets inside the week of Saturday 7 March 2026 (days: Sat Sun Mon Tue Wed Thu Fri).
TEST_F(WeekTableTest, LetsWithinOneWeek) {
  const TDateTime sat = EncodeDate(2026, 3, 7);
  struct Case {
    const char* what;
    std::vector<Let> lets;
    uint8_t mask;
    std::array<uint8_t, 7> status;
    const char* names;
  } cases[] = {
      {"Saturday to Saturday", {{"Smith", sat, 7}}, kWholeWeek, {P, 0, 0, 0, 0, 0, 0}, "Smith"},
      {"Wednesday to Saturday", {{"Brown", sat + 4, 3}}, 0x70, {0, 0, 0, 0, P | C, P, P}, "Brown "},
      {"back to back", {{"Smith", sat, 3}, {"Jones", sat + 3, 4}}, 0x7F, {P | C, P, P, P | C, P, P, P},
       "Smith + Jones "},
      {"a free day between, names cut", {{"  Fotheringham-Smythe ", sat, 2}, {"Cholmondeley-Warner", sat + 3, 2}},
       0x1B, {P | C, P, C, P | C, P, C, 0}, "Fotheringham-Smythe + Cholmond"},
      {"cancelled lets leave no trace", {{"Gone", sat, 7, Cancelled}, {"Kept", sat + 1, 1}}, 0x02,
       {0, P | C, C, 0, 0, 0, 0}, "Kept "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    p().Bookings.Clear();
    Add(c.lets);
    BuildWeekTable(s, 1, false);
    const Status_Rec& w = Week(sat);
    EXPECT_EQ(w.WeekDate, sat);
    EXPECT_EQ(w.DayMask, c.mask);
    EXPECT_EQ(w.DayStatus, c.status);
    EXPECT_EQ(w.WeekNames, c.names);
    EXPECT_EQ(w.BookedDate, ShortDateText(EncodeDate(2025, 11, 20)));
    EXPECT_EQ(Week(sat - 7).DayMask, 0);
    EXPECT_EQ(Week(sat + 7).DayMask, 0);
  }
}

TEST_F(WeekTableTest, ALetRunsOnIntoTheNextWeekAndMarksOnlyItsFirstWeekSpecial) {
  const TDateTime sat = EncodeDate(2026, 3, 7);
  Add({{"Green", sat, 10, Paid, FlagSp}, {"Hall", sat + 10, 2}});
  BuildWeekTable(s, 1, false);
  const Status_Rec& first = Week(sat);
  EXPECT_EQ(first.DayMask, kWholeWeek);
  EXPECT_EQ(first.WeekNames, "Green");
  EXPECT_EQ(first.SpecialMark, 8);
  const Status_Rec& second = Week(sat + 7);
  EXPECT_EQ(second.DayMask, 0x1F);
  EXPECT_EQ(second.DayStatus, (std::array<uint8_t, 7>{P, P, P, P | C, P, C, 0}));
  EXPECT_EQ(second.WeekNames, "Green + Hall ");
  EXPECT_EQ(second.SpecialMark, 0);
}

TEST_F(WeekTableTest, LetsAreClippedToTheYearsOnShow) {
  const TDateTime start = EncodeDate(2026, 1, 3);
  const TDateTime end = EncodeDate(2028, 1, 8);  // week 1 of 2028
  Add({{"Before", start - 14, 7},
       {"Early", start - 7, 10},
       {"Late", end - 7, 14},
       {"After", end, 7}});
  BuildWeekTable(s, 1, false);
  const TStArray& w = p().Weeks;
  ASSERT_EQ(w.size(), 105u);
  EXPECT_EQ(w.front().DayMask, 0x07);
  EXPECT_EQ(w.front().DayStatus, (std::array<uint8_t, 7>{P | C, P, P, C, 0, 0, 0}));
  EXPECT_EQ(w.front().WeekNames, "Early ");
  EXPECT_EQ(w.back().WeekDate, end - 7);
  EXPECT_EQ(w.back().DayMask, kWholeWeek);
  EXPECT_EQ(w.back().WeekNames, "Late");
  for (size_t k = 1; k + 1 < w.size(); ++k) EXPECT_EQ(w[k].DayMask, 0) << k;
}

TEST_F(WeekTableTest, WebViewShowsAHoldMarkedAsLetAsDepositPaid) {
  const TDateTime sat = EncodeDate(2026, 5, 2);
  Add({{"Shown", sat, 7, Hold, ShowAsLet}, {"Plain", sat + 7, 7, Hold}});
  const Book_Rec& shown = p().Bookings.First()->Rec;
  const int overdue = EffectiveStatus(shown, p(), t.clock.Today());
  ASSERT_NE(overdue, Hold);  // booked long ago: the status on the day differs from the stored one
  for (bool web : {false, true}) {
    SCOPED_TRACE(web);
    BuildWeekTable(s, 1, web);
    EXPECT_EQ(Week(sat).DayStatus[0], web ? DepositPaid : Hold);
    EXPECT_EQ(Week(sat).DayEffStatus[0], overdue);
    EXPECT_EQ(Week(sat + 7).DayStatus[0], Hold);
  }
}

TEST_F(WeekTableTest, CallersOwnRangeStartsAtTheWeekAskedFor) {
  Add({{"Spring", EncodeDate(2026, 3, 7), 7}, {"Newyear", EncodeDate(2027, 1, 9), 3}});
  TStArray weeks(6);
  weeks[5].WeekNames = "left over";
  BuildWeekTable(s, 1, weeks, 2026, 51, false);
  EXPECT_EQ(weeks[0].WeekDate, WeekStart(2026, 51, 7));
  EXPECT_EQ(weeks[2].WeekNo, 53);
  EXPECT_EQ(weeks[3].RateYear, 2027);
  EXPECT_EQ(weeks[3].WeekNo, 1);
  EXPECT_EQ(weeks[3].WeekNames, "Newyear ");
  EXPECT_EQ(weeks[3].DayMask, 0x07);
  EXPECT_EQ(weeks[5].WeekNames, "");
  for (size_t k : {0, 1, 2, 4, 5}) EXPECT_EQ(weeks[k].DayMask, 0) << k;
  EXPECT_EQ(WeekIndex(weeks, EncodeDate(2027, 1, 11)), 3);
  EXPECT_EQ(WeekIndex(TStArray{}, EncodeDate(2027, 1, 11)), -1);
}

}  // namespace
}  // namespace tb::test
