// The booking reports' engine: the week range, the availability report, the booking
// list as a file and printed, and the status report's layout on a recorded page.

#include <gtest/gtest.h>

#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "reports/BookingReports.h"
#include "reports/RecordingCanvas.h"
#include "reports/ReportPrinter.h"
#include "reports/StatusReport.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Bramble changes over on Saturdays (2026 has 53 such weeks; week 1 of 2027 starts on
// 9 January), Heron on Sundays (week 1 of 2027 starts on 3 January).
class BookingReports : public ::testing::Test {
 protected:
  BookingReports() {
    Load(
        "[Common]\nver=V4.4\nNumProps=2\n[Prop01]\nPropName=Bramble\nChangeDay=7\n"
        "[Prop02]\nPropName=Heron\nChangeDay=1\n");
  }
  // Settings with every property's folder made, property 1 current.
  void Load(const std::string& settings) {
    t.Load(settings);
    for (int n = 1; n <= s.NumProps(); ++n) ForceDirectories(s.Prop(n).Folder + "Data/");
    s.CurrentProperty = 1;
  }
  void Book(int n, const Book_Rec& b) { s.Prop(n).Bookings.Append(b); }
  size_t Count(const std::string& kind, const std::string& text = "") const {
    size_t found = 0;
    for (const auto& op : canvas.ops)
      if (op.kind == kind && (text.empty() || op.text == text)) ++found;
    return found;
  }

  TestSession t;
  Session& s = t.session;
  RecordingCanvas canvas;
};

TEST_F(BookingReports, RangesCountWholeWeeksByDate) {
  const struct {
    WeekRange range;
    int property;
    int weeks;
  } cases[] = {
      {{2025, 52, 2026, 1}, 1, 1},   // 2025 has 52 Saturday weeks
      {{2026, 52, 2027, 1}, 1, 2},   // 2026 has 53: its last week is not lost
      {{2026, 10, 2026, 10}, 1, 0},  // equal ends
      {{2027, 5, 2026, 5}, 1, -53},  // reversed
      {{2026, 1, 2027, 1}, 1, 53},
      {{2026, 1, 2027, 1}, 2, 52},  // Heron's weeks
  };
  for (const auto& c : cases)
    EXPECT_EQ(RangeWeekCount(s, c.range, c.property), c.weeks)
        << c.range.startYear << "/" << c.range.startWeek << " - " << c.range.endYear << "/" << c.range.endWeek;
}

TEST_F(BookingReports, AvailabilityListsTheFreePeriodsOfEachProperty) {
  const WeekRange r{2027, 1, 2027, 5};  // Bramble: Sat 9 Jan to Sat 6 Feb 2027
  Book(1, MakeBooking(EncodeDate(2027, 1, 9), 7, "Gone", Cancelled));  // first, and ignored
  Book(1, MakeBooking(EncodeDate(2027, 1, 16), 7, "Adams"));
  Book(1, MakeBooking(EncodeDate(2027, 1, 30), 14, "Brown"));
  Book(1, MakeBooking(EncodeDate(2027, 2, 20), 7, "Late"));  // after the range: no period starts there
  EXPECT_EQ(AvailabilityText(s, r, {1, 2}),
            "     AVAILABILITY REPORT    09 Dec 2026\r\n"
            "\r\nProperty: Bramble\r\nPeriod: 09 Jan 2027 - 06 Feb 2027\r\n\r\n"
            "Available Sat 09 Jan 2027 until Sat 16 Jan 2027\r\n"
            "Available Sat 23 Jan 2027 until Sat 30 Jan 2027\r\n"
            "\r\nProperty: Heron\r\nPeriod: 03 Jan 2027 - 31 Jan 2027\r\n\r\n"
            "Available Sun 03 Jan 2027 until Sun 31 Jan 2027\r\n");
}

TEST_F(BookingReports, TheBookingListFileWritesEachLetAsStored) {
  Book_Rec a = MakeBooking(EncodeDate(2027, 1, 9), 7, "Adams");
  a.Fnames = "Ann";
  a.Special = "Cot\r\n  and high chair";
  a.Flag |= NoClean;
  Book(1, a);
  Book(1, MakeBooking(EncodeDate(2027, 1, 16), 3, "Brown", Cancelled));
  Book(1, MakeBooking(EncodeDate(2027, 3, 6), 7, "After"));
  EXPECT_EQ(BookingListText(s, {2027, 1, 2027, 5}, {1, 2}),
            "        Bramble.    Bookings list.\r\n\r\n"
            "---From---------To--------Nights-------Name--------------Comments-----\r\n"
            "Sat 09 Jan - Sat 16 Jan 27  7  Adams, Ann                Cot\r\n  and high chair NO CLEAN\r\n" +
                std::string(70, '-') + "\r\n\r\n\r\n");
  EXPECT_EQ(BookingListText(s, {2027, 10, 2027, 12}, {1, 2}), "");
}

TEST_F(BookingReports, ThePrintedListContinuesOnNewPagesWithItsHeadings) {
  for (int i = 0; i < 60; ++i) {
    Book_Rec b = MakeBooking(EncodeDate(2027, 1, 9) + i, 1, "Guest" + std::to_string(i));
    if (i == 0) b.Special = "Two\r\nlines";
    Book(1, b);
  }
  ReportPrinter printer(s, canvas);
  EXPECT_TRUE(PrintBookingList(printer, s, {2027, 1, 2027, 20}, {1, 2}));
  EXPECT_EQ(Count("begin", "Bookings"), 1u);
  EXPECT_EQ(Count("page"), 1u);  // 47 lines, then the rest on a second page
  EXPECT_EQ(Count("text", "Comments"), 2u);
  EXPECT_EQ(Count("text", "Bookings List for Property: Bramble."), 1u);
  EXPECT_EQ(Count("text", "Two lines"), 1u);
  EXPECT_EQ(Count("text", "Guest59"), 1u);
  EXPECT_EQ(Count("end"), 1u);
  EXPECT_EQ(t.dialogs.beeps, 1);

  canvas.ops.clear();
  t.dialogs.Expect("No bookings found", MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_FALSE(PrintBookingList(printer, s, {2027, 30, 2027, 40}, {1, 2}));
  EXPECT_EQ(Count("begin"), 0u);
}

TEST_F(BookingReports, TheStatusReportPrintsEveryWeekOfEveryProperty) {
  Book(1, MakeBooking(EncodeDate(2027, 1, 9), 7, "Adams", DepositPaid));
  Book(1, MakeBooking(EncodeDate(2027, 1, 18), 3, "Brown", Hold));  // a partly let week
  ReportPrinter printer(s, canvas);
  ASSERT_TRUE(PrintStatusReport(printer, s, {2027, 1, 2027, 5}, {1}));
  EXPECT_EQ(Count("text", "Bramble - Bookings Status Report"), 1u);
  for (const char* text : {"09 Jan 2027", "30 Jan 2027", "LET", "Adams", "Brown", "D", "H"})
    EXPECT_GE(Count("text", text), 1u) << text;
  EXPECT_EQ(Count("text", "06 Feb 2027"), 0u);  // the end week lies outside
  EXPECT_EQ(Count("text", "m"), 1u);            // day letters of the partly let week
  EXPECT_EQ(t.dialogs.beeps, 1);

  // Different changeover days are asked about; Cancel prints nothing.
  canvas.ops.clear();
  t.dialogs.Expect(
      "Properties selected have different changeover days\rWeek start dates printed will be for the first selected "
      "property\rContinue?",
      MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
  EXPECT_FALSE(PrintStatusReport(printer, s, {2027, 1, 2027, 5}, {1, 2}));
  EXPECT_TRUE(canvas.ops.empty());
}

TEST_F(BookingReports, PropertiesThatDoNotFitSideBySideArePrintedInGroups) {
  Load(SimpleSettings(9, ""));
  EXPECT_EQ(StatusReportGroupSize(s, {1, 2, 3, 4}, 210), 4);
  EXPECT_EQ(StatusReportGroupSize(s, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 210), 4);
  EXPECT_EQ(StatusReportGroupSize(s, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 100), 1);
  ReportPrinter printer(s, canvas);
  ASSERT_TRUE(PrintStatusReport(printer, s, {2027, 1, 2027, 3}, {1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Count("text", "Bookings Status Report"), 2u);  // 4, then 2 on a new page
  EXPECT_EQ(Count("text", "Prop 6"), 1u);
  // A group of one cut from several still names its property.
  canvas.ops.clear();
  ASSERT_TRUE(PrintStatusReport(printer, s, {2027, 1, 2027, 3}, {1, 2, 3, 4, 5}));
  EXPECT_EQ(Count("text", "Prop 5"), 1u);
}

// In view mode "C" only the current property's list is held; the others are read for
// the report, and the current one is left as it is.
TEST_F(BookingReports, OtherPropertiesAreReadForTheReport) {
  const std::string heron = BookingFilePath(s, 2);
  WriteWholeFile(heron, BookingFileImage({MakeBooking(EncodeDate(2027, 1, 10), 7, "Heronfile")}));
  Book(1, MakeBooking(EncodeDate(2027, 1, 9), 7, "InMemory"));
  ReadReportBookings(s, {1, 2});
  ASSERT_EQ(s.Prop(2).Bookings.Count(), 1);
  EXPECT_EQ(s.Prop(2).Bookings.First()->Rec.Surname, "Heronfile");
  EXPECT_EQ(s.Prop(1).Bookings.First()->Rec.Surname, "InMemory");
}

}  // namespace
}  // namespace tb::test
