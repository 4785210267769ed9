// The year share of a booking and the income CSV byte for byte.

#include <gtest/gtest.h>

#include <cmath>

#include "reports/IncomeReport.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

TEST(TaxYearShare, NightsAndAmountOfTheYear) {
  const TDateTime to2027 = D(2027, 4, 5), to2028 = D(2028, 4, 5);  // tax day 5 April
  const struct Case {
    const char* what;
    TDateTime start, end;
    uint8_t status;
    double total;
    TDateTime yearEnd;
    bool counts;
    TDateTime from;
    int nights;
    double amount;
  } cases[] = {
      {"let across the tax day, first year", D(2027, 4, 2), D(2027, 4, 9), Paid, 700, to2027, true, D(2027, 4, 2), 3, 300},
      {"let across the tax day, next year", D(2027, 4, 2), D(2027, 4, 9), Paid, 700, to2028, true, D(2027, 4, 5), 4, 400},
      {"let inside the year", D(2026, 7, 10), D(2026, 7, 17), DepositPaid, 630, to2027, true, D(2026, 7, 10), 7, 630},
      {"cancelled in the year: whole Total", D(2026, 6, 10), D(2026, 6, 17), Cancelled, 250, to2027, true,
       D(2026, 6, 10), 0, 250},
      {"cancelled, arriving the year before", D(2026, 4, 1), D(2026, 4, 8), Cancelled, 250, to2027, false, 0, 0, 0},
      {"departing on the year's first day", D(2026, 3, 29), D(2026, 4, 5), Paid, 700, to2027, true, D(2026, 4, 5), 0, 0},
      {"departing the day before", D(2026, 3, 28), D(2026, 4, 4), Paid, 700, to2027, false, 0, 0, 0},
      {"arriving on the next year's first day", D(2027, 4, 5), D(2027, 4, 12), Paid, 700, to2027, false, 0, 0, 0},
      {"owner's reserved dates", D(2026, 8, 1), D(2026, 8, 8), Reserved, 700, to2027, false, 0, 0, 0},
      {"nothing to pay", D(2026, 8, 1), D(2026, 8, 8), Hold, 0, to2027, false, 0, 0, 0},
      {"no nights: whole Total in its arrival's year", D(2026, 8, 1), D(2026, 8, 1), Paid, 80, to2027, true,
       D(2026, 8, 1), 0, 80},
      {"departing before it arrives", D(2026, 8, 1), D(2026, 7, 30), Paid, 80, to2027, true, D(2026, 8, 1), 0, 80},
      {"no nights, arriving the year after", D(2027, 5, 1), D(2027, 5, 1), Paid, 80, to2027, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Book_Rec b = MakeBooking(c.start, 1, "Ames", c.status);
    b.EndD = c.end;
    b.Total = c.total;
    const YearShare share = TaxYearShare(b, c.yearEnd == to2027 ? D(2026, 4, 5) : to2027, c.yearEnd);
    EXPECT_EQ(share.counts, c.counts) << c.what;
    if (!c.counts) continue;
    EXPECT_EQ(share.start, c.from) << c.what;
    EXPECT_EQ(share.nights, c.nights) << c.what;
    EXPECT_TRUE(std::isfinite(share.amount)) << c.what;
    EXPECT_DOUBLE_EQ(share.amount, c.amount) << c.what;
  }
}

TEST(TaxYearShare, TaxDayMissingInSomeYearsIsThatMonthsLastDay) {
  EXPECT_EQ(DayInYear(2027, 2, 29), D(2027, 2, 28));
  EXPECT_EQ(DayInYear(2028, 2, 29), D(2028, 2, 29));
  EXPECT_EQ(DayInYear(2027, 4, 31), D(2027, 4, 30));
  TestSession t;
  t.Load(SimpleSettings(1, "TaxYr=0229\n"));
  EXPECT_EQ(TaxYearEnd(t.session, 2027), D(2027, 2, 28));
  // A let over the tax day of a leap year: each night in one year only.
  Book_Rec b = MakeBooking(D(2024, 2, 27), 4, "Ames", Paid);
  b.Total = 400;
  const YearShare first = TaxYearShareIn(t.session, b, 2024), second = TaxYearShareIn(t.session, b, 2025);
  EXPECT_EQ(first.nights, 2);
  EXPECT_EQ(second.nights, 2);
  EXPECT_EQ(second.start, D(2024, 2, 29));
  EXPECT_DOUBLE_EQ(first.amount + second.amount, 400);
  t.Load(SimpleSettings(1, "TaxYr=junk\n"));
  EXPECT_EQ(TaxYearEnd(t.session, 2027), D(2027, 4, 5));
}

TEST(IncomeCsv, WrittenByteForByte) {
  TestSession t;
  t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=Bramble\n[Prop02]\nPropName=Heron \"Nest\"\nCS=$\n");
  Session& s = t.session;
  Book_Rec cancelled = MakeBooking(D(2026, 6, 10), 7, "O\"Neil", Cancelled);
  cancelled.Total = 250;
  Book_Rec let = MakeBooking(D(2027, 4, 2), 7, "Adams, Jo", Paid);
  let.Total = 1234.5 * 7 / 3;
  Book_Rec later = MakeBooking(D(2027, 6, 1), 7, "Later", Paid);
  s.Prop(1).Bookings.Append(cancelled);
  s.Prop(1).Bookings.Append(let);
  s.Prop(1).Bookings.Append(later);

  EXPECT_EQ(IncomeCsvName(s, 2027), "Cotlyn Income to 2027-04-04.csv");
  EXPECT_EQ(IncomeCsvText(s, 2027, {1, 2}),
            "\"Income Report for Property: Bramble\"\r\n"
            "\" \"\r\n"
            "\"Start\",\"Name\",\"Nights\",\"Income\"\r\n"
            "10-Jun-2026,\"O\"\"Neil\",0,\xA3" "250.00,\"Cancellation charge\"\r\n"
            "02-Apr-2027,\"Adams, Jo\",3,\xA3" "1234.50,\"\"\r\n"
            "\" \"\r\n\" \"\r\n\r\n"
            "\"Income Report for Property: Heron \"\"Nest\"\"\"\r\n"
            "\" \"\r\n"
            "\"Start\",\"Name\",\"Nights\",\"Income\"\r\n"
            "\"No bookings found in specified tax year\"\r\n"
            "\" \"\r\n\" \"\r\n\r\n");
}

}  // namespace
}  // namespace tb::test
