// The booking statistics: the three tables of a small agency as the window shows
// them, and the year start day.

#include <gtest/gtest.h>

#include <numeric>

#include "reports/Statistics.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

std::string Text(const std::vector<StatsLine>& lines) {
  std::string out;
  for (const StatsLine& l : lines) out += l.text + "\n";
  return out;
}

// Today is 9 December 2026; the chart shows 2026 and 2027.
class Statistics : public ::testing::Test {
 protected:
  Statistics() {
    t.Load("[Common]\nNumProps=3\n[Prop01]\nPropName=Ash\n[Prop02]\nPropName=Elm\n[Prop03]\nPropName=Fir\n");
    s.ComputeSeasonYear();
  }
  static Book_Rec Let(TDateTime start, int nights, const char* surname, uint8_t status, const char* source) {
    Book_Rec b = MakeBooking(start, nights, surname, status);
    b.Source = source;
    return b;
  }
  void AddFixture() {
    Book_Rec newYear = Let(D(2025, 12, 28), 7, "Bell", Paid, "Web");
    newYear.Deposit = 200;
    newYear.DateD = D(2025, 11, 1);
    newYear.Balance = 500;
    newYear.DateP = D(2025, 12, 1) + 0.6;  // paid in the afternoon
    Book_Rec ahead = Let(D(2027, 2, 1), 7, "Fox", DepositPaid, " Web ");
    ahead.DateB = D(2026, 10, 1);
    ahead.Deposit = 100;
    ahead.DateD = D(2026, 10, 2);
    Book_Rec cancelled = Let(D(2026, 3, 1), 7, "Cole", Cancelled, "Phone");
    cancelled.Total = 150;
    for (const Book_Rec& b : {Let(D(2025, 7, 10), 7, "Ames", Paid, "Web"), newYear, cancelled,
                              Let(D(2026, 5, 1), 7, "Owner", Reserved, "Owner"),
                              Let(D(2026, 6, 5), 7, "Dunn", Hold, "  "), ahead})
      s.Prop(1).Bookings.Append(b);
    Book_Rec fir = Let(D(2026, 8, 1), 7, "Gray", Paid, "Agent");
    fir.Total = 1400;
    fir.DateB = D(2026, 1, 1);
    s.Prop(3).Bookings.Append(fir);
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(Statistics, ThreeTablesOfASmallAgency) {
  AddFixture();
  const StatsResult r = AnalyseBookings(s, {1, 2, 3}, 1, 1);
  EXPECT_EQ(r.analysed, 2);  // Elm has no bookings
  EXPECT_EQ(r.noSource, std::vector<std::string>{"Date=05/06/2026 Name=Dunn  Prop=Ash"});
  const std::string months[] = {"January", "February", "March",     "April",   "May",      "June",
                                "July",    "August",   "September", "October", "November", "December"};
  // Booked ahead on the 1st: Ames in July 2025, Bell in December 2025, Dunn in June
  // 2026, Gray from February to August 2026 and Fox in November and December 2026.
  const int nights2026[] = {0, 7, 7, 7, 7, 14, 7, 7, 0, 0, 7, 7};
  const int nights2025[] = {0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 7};
  std::string forward;
  for (int m = 0; m < 12; ++m)
    forward += months[m] + " 1st\t" + std::to_string(nights2026[m]) + "\t" + std::to_string(nights2025[m]) +
               "\t0\t0\t0\t0\n";
  EXPECT_EQ(Text(StatsLines(r)),
            "Data for: Ash,Fir\n"
            "\n"
            "1. Year ending\tDays\tIncome(\xA3)\tPrepaid for later yrs(\xA3)\n"
            "\t31 Dec 2027\t 7\t 700.00\t 0.00\n"
            "\t31 Dec 2026\t 17\t 2,550.00\t 100.00\n"
            "\t31 Dec 2025\t 11\t 1,100.00\t 300.00\n" +
                std::string(49, '\xAF') +
                "\n"
                "\n"
                "2. Booking Source\t2027\t2026\t2025\tTotals\n"
                "\tWeb\t1\t0\t2\t3\n"
                "\tPhone\t0\t1\t0\t1\n"
                "\tAgent\t0\t1\t0\t1\n"
                "\t  Totals\t1\t2\t2\t5\n"
                "\n"
                "1 bookings have no source\n"
                "\n"
                "3. Bookings (days) on 1st of each month.     Current=7 days\n"
                "YEAR = \t2026\t2025\t2024\t2023\t2022\t2021\n" +
                forward);
  const std::vector<StatsLine> lines = StatsLines(r);
  EXPECT_TRUE(lines[0].bold);
  EXPECT_EQ(lines[2].tabs, (std::vector<int>{8, 75, 110, 170}));
  EXPECT_TRUE(lines[2].bold && lines[2].underline);
  EXPECT_TRUE(lines[12].bold && lines[12].underline);  // "  Totals"
}

TEST_F(Statistics, ManyPropertiesAreCountedAndAStartDayMissingInSomeYearsLosesNoNight) {
  t.Load(SimpleSettings(6));
  s.ComputeSeasonYear();
  for (int n = 1; n <= 5; ++n) s.Prop(n).Bookings.Append(Let(D(2026, 2, 27), 3, "Ames", Paid, ""));
  const StatsResult r = AnalyseBookings(s, {1, 2, 3, 4, 5, 6}, 29, 2);
  EXPECT_EQ(StatsLines(r)[0].text, "Analysed 5 Properties");
  EXPECT_FALSE(r.anySource);
  // 29/02 is the 28th in 2026 and 2027: one night in the year to 27 Feb 2026, two after.
  EXPECT_EQ(r.years[1].yearEnd, D(2027, 2, 27));
  EXPECT_EQ(r.years[2].yearEnd, D(2026, 2, 27));
  EXPECT_EQ(r.years[2].nights, 5 * 1);
  EXPECT_EQ(r.years[1].nights, 5 * 2);
  EXPECT_EQ(std::accumulate(r.years.begin(), r.years.end(), 0, [](int sum, const StatsYear& y) { return sum + y.nights; }),
            15);
  EXPECT_EQ(r.years[0].yearEnd, D(2028, 2, 28));  // a leap year has the 29th
}

TEST(YearStartDay, TwoDigitDayAndMonth) {
  const struct {
    const char* text;
    const char* refused;
  } cases[] = {
      {"01/01", ""},
      {"31/04", ""},
      {"29/02", ""},
      {"1/01", "Invalid day, must be 01 to 31"},
      {"32/01", "Invalid day, must be 01 to 31"},
      {"00/05", "Invalid day, must be 01 to 31"},
      {"01/1", "Invalid month, must be 01 to 12"},
      {"01/13", "Invalid month, must be 01 to 12"},
      {"0104", "Invalid month, must be 01 to 12"},
      {"", "Invalid month, must be 01 to 12"},
      {"ab/cd", "Invalid month, must be 01 to 12"},
  };
  for (const auto& c : cases) {
    int day = 0, month = 0;
    EXPECT_EQ(CheckYearStartDay(c.text, day, month), c.refused) << c.text;
  }
  int day = 0, month = 0;
  CheckYearStartDay("31/04", day, month);
  EXPECT_EQ(day, 31);
  EXPECT_EQ(month, 4);
}

}  // namespace
}  // namespace tb::test
