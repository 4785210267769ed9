#include "bookings/BookingHistory.h"

#include <gtest/gtest.h>

#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Saturday changeover: 2026 has 53 weeks (from Sat 3 Jan 2026), 2027 has 52 (from Sat
// 9 Jan 2027). 2027 is priced by band, with weeks 10 and 12 left without a price; no
// other year has a rates file.
class BookingHistoryTest : public testing::Test {
 protected:
  void SetUp() override {
    t.Load(SimpleSettings(2));
    s.CurrentProperty = 1;
    s.ComputeSeasonYear();
    for (int n : {1, 2}) ForceDirectories(s.Prop(n).Folder + "Data/");
    Rate_Rec r;
    r.BandCost[0] = 500;
    for (WeekRate& w : r.WeekRates) w.CostOrBand = 1;
    r.WeekRates[9].CostOrBand = 0;
    r.WeekRates[11].CostOrBand = 0;
    r.WeekRates[13].CostOrBand = 0;
    ASSERT_TRUE(WriteWholeFile(RatesFilePath(s.Prop(1), 2027), RatesImage(r)));
    RefreshRateCache(s, 1);  // as the chart has it
  }
  static Book_Rec Booking(TDateTime start, int nights, uint8_t status, TDateTime booked) {
    Book_Rec b = MakeBooking(start, nights, "Hale", status);
    b.DateB = booked;
    return b;
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(BookingHistoryTest, CellsCaptionsAndTheShortYear) {
  const TDateTime week1 = EncodeDate(2027, 1, 9);
  const TDateTime nov = EncodeDate(2026, 11, 20);
  for (const Book_Rec& b : {Booking(week1 + 7, 7, Paid, nov), Booking(week1 + 14 + 4, 3, DepositPaid, nov + 11),
                            Booking(week1 + 21, 7, Reserved, nov), Booking(week1 + 28, 7, Cancelled, nov),
                            Booking(week1 + 77 + 1, 2, Paid, nov),  // a short let on week 12, which is closed
                            Booking(week1 + 91, 7, Reserved, 0),    // the owner's week 14, closed and never booked
                            Booking(EncodeDate(2027, 1, 2), 7, Paid, EncodeDate(2025, 6, 1))})
    s.Prop(1).Bookings.Append(b);
  s.Prop(1).Bookings.SortByStart();

  const BookingHistory h = BuildBookingHistory(s, 1, 2027);
  EXPECT_EQ(h.years, (std::array<int, 5>{2027, 2026, 2025, 2024, 2023}));
  const std::vector<std::string>& y27 = h.cells[0];
  const std::vector<std::string> first = {"-", "20/11/2026", "P01/12/2026", "- Reserved -", "-"};
  EXPECT_EQ(std::vector<std::string>(y27.begin(), y27.begin() + 5), first);
  EXPECT_EQ(y27[9], "not let");
  EXPECT_EQ(y27[10], "-");
  EXPECT_EQ(y27[11], "P20/11/2026");
  EXPECT_EQ(y27[13], "- Reserved -");
  EXPECT_EQ(y27[52], "");  // 2027 has 52 weeks
  // 2026 has no rates file: its week 53, let whole at no price, still says who booked.
  EXPECT_EQ(h.cells[1][52], "01/06/2025");
  EXPECT_EQ(h.cells[1][51], "-");
  ASSERT_EQ(h.captions.size(), 53u);
  EXPECT_EQ(h.captions[0], "1 09 Jan 2027");
  EXPECT_EQ(h.captions[51], "52 01 Jan 2028");
  EXPECT_EQ(h.captions[52], "53");
}

TEST_F(BookingHistoryTest, AnotherPropertysFileIsReadOutsideTheAllPropertiesView) {
  ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, 2),
                             BookingFileImage({Booking(EncodeDate(2026, 1, 3), 7, Paid, EncodeDate(2025, 9, 1))})));
  const BookingHistory h = BuildBookingHistory(s, 2, 2026);
  EXPECT_EQ(h.cells[0][0], "01/09/2025");
  EXPECT_EQ(h.captions[52], "53 02 Jan 2027");
  t.dialogs.VerifyAllShown();
}

}  // namespace
}  // namespace tb::test
