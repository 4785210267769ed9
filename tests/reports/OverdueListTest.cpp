// The overdue list: the one reason each booking gives on a fixed day, at the edges of
// its dates; the list over a root folder's properties and its sort; "Overdue-Items.csv"
// as a spreadsheet reads it.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "reports/OverdueCsv.h"
#include "reports/OverdueList.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/ChildProcess.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 9);  // TestSession's day

class OverdueListTest : public ::testing::Test {
 protected:
  OverdueListTest() {
    t.Load("[Common]\nNumProps=3\n[Prop01]\nPropName=Ash\nDepDue=7\nBalDue=6\nWait=34\n"
           "[Prop02]\nPropName=Elm\n[Prop03]\nPropName=Ruza Rorazed\n");
    s.CurrentProperty = 1;
    for (int n = 1; n <= 3; ++n) ForceDirectories(s.Prop(n).Folder + "Data/");
  }
  void WriteBookings(int n, const std::vector<Book_Rec>& records) {
    ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, n), BookingFileImage(records)));
  }
  std::vector<std::string> Surnames(const OverdueList& list) {
    std::vector<std::string> out;
    for (const OverdueRow& r : list.rows) out.push_back(r.surname);
    return out;
  }
  TestSession t;
  Session& s = t.session;
};

// A booking of the given status, booked `bookedAgo` days before today, starting
// `startIn` days after it.
Book_Rec Booking(uint8_t status, int bookedAgo, int startIn, const std::string& surname = "Ames") {
  Book_Rec b = MakeBooking(kToday + startIn, 7, surname, status);
  b.DateB = kToday - bookedAgo;
  b.Deposit = 100;
  b.Balance = 400;
  return b;
}

TEST_F(OverdueListTest, EachBookingGivesOneReasonAtTheEdgesOfItsDates) {
  // DepDue 7, BalDue 6 (balance due 42 days before the start), Wait 34 weeks.
  const auto acked = [](Book_Rec b, uint8_t flags) {
    b.Flag = flags;
    return b;
  };
  const auto refunded = [](Book_Rec b, TDateTime dateR, double deposit) {
    b.DateR = dateR;
    b.Deposit = deposit;
    b.Balance = 0;
    return b;
  };
  const struct {
    const char* what;
    Book_Rec b;
    const char* reason;
  } cases[] = {
      {"hold on the last day of grace", Booking(Hold, 7, 100), ""},
      {"hold a day after the deposit was due", Booking(Hold, 8, 100), "Deposit 1 days overdue"},
      {"hold, balance due today", Booking(Hold, 8, 42), "Deposit 1 days overdue"},
      {"hold, balance due yesterday", Booking(Hold, 10, 41), "Full payment 3 days overdue"},
      {"hold made today, start in 3 weeks", Booking(Hold, 0, 21), ""},
      {"the same hold a day after its grace", Booking(Hold, 8, 21), "Full payment 1 days overdue"},
      {"deposit paid, balance due tomorrow", acked(Booking(DepositPaid, 60, 43), DepAck), ""},
      {"deposit paid, balance due today", acked(Booking(DepositPaid, 60, 42), DepAck), ""},
      {"deposit paid, balance 1 day late", acked(Booking(DepositPaid, 60, 41), DepAck), "Balance 1 days overdue"},
      {"deposit paid, balance 10 days late", Booking(DepositPaid, 60, 32), "Balance 10 days overdue"},
      {"deposit not acknowledged, not yet due", Booking(DepositPaid, 60, 100), "Deposit not acknowledged"},
      {"deposit paid today, not acknowledged", Booking(DepositPaid, 0, 100), "Deposit not acknowledged"},
      {"waiting list, 34 weeks to go", Booking(Reserved, 60, 7 * 34, "Smith"), ""},
      {"waiting list, a day under 34 weeks", Booking(Reserved, 60, 7 * 34 - 1, "Smith"), "WAITLIST EXPIRED"},
      {"waiting list, started already", Booking(Reserved, 60, -3, "Smith"), "WAITLIST EXPIRED"},
      {"waiting list within its grace", Booking(Reserved, 3, 7, "Smith"), ""},
      {"personal reservation", Booking(Reserved, 60, 7, "- Reserved -"), ""},
      {"reservation without a name", Booking(Reserved, 60, 7, "  "), ""},
      {"paid, not acknowledged", Booking(Paid, 60, 10), "Balance not acknowledged, send joining details?"},
      {"paid and acknowledged", acked(Booking(Paid, 60, 10), DepAck | BalAck), ""},
      {"damage deposit to repay", Booking(RepayDeposit, 90, -20), "Repay deposit"},
      {"complete", Booking(Complete, 90, -20), ""},
      {"retained cancellation", refunded(Booking(Cancelled, 60, 10), kNotPaid, 150), "Cancelled but not refunded"},
      {"cancellation refunded", refunded(Booking(Cancelled, 60, 10), kToday - 1, 150), ""},
      {"cancellation of 1 paid", refunded(Booking(Cancelled, 60, 10), kNotPaid, 1), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OverdueReason(c.b, s.Prop(1), kToday + 0.75), c.reason) << c.what;
  }
}

TEST_F(OverdueListTest, ListsEveryPropertyReadingWhatTheChartDoesNotHold) {
  WriteBookings(1, {Booking(Hold, 20, 100, "Cole"), Booking(Complete, 90, -20, "Done"),
                    Booking(RepayDeposit, 90, -20, "Bell")});
  ReadBookings(s, 1, false, false);
  // Property 2 has never been read ("C" shows property 1 only); "Ruza Rorazed" is left out.
  WriteBookings(2, {Booking(Paid, 60, 10, "Ames")});
  WriteBookings(3, {Booking(RepayDeposit, 90, -20, "Hidden")});

  OverdueList list;
  ASSERT_TRUE(list.Build(s));
  ASSERT_EQ(Surnames(list), (std::vector<std::string>{"Cole", "Bell", "Ames"}));
  const OverdueRow& bell = list.rows[1];
  EXPECT_EQ(bell.rec, 3);
  EXPECT_EQ(bell.node, s.Prop(1).Bookings.At(3));
  EXPECT_EQ(OverdueCellText(bell, OverdueColumn::LetStarts), SortableDateText(kToday - 20));
  EXPECT_EQ(list.rows[2].propName, "Elm");

  s.CurrentProperty = 3;  // shown only from its own window, whose chart has read it
  ReadBookings(s, 3, false, false);
  ASSERT_TRUE(list.Build(s));
  EXPECT_EQ(Surnames(list), (std::vector<std::string>{"Cole", "Bell", "Ames", "Hidden"}));
}

TEST_F(OverdueListTest, SortsByTextIgnoringCaseAndKeepsTheSortWhenBuiltAgain) {
  // "\xE9lan" and "\xC9mile" come in that order only when both fold to "\xC9".
  WriteBookings(1, {Booking(Paid, 60, 10, "smith"), Booking(Paid, 60, 11, "\xC9mile"),
                    Booking(Paid, 60, 12, "Adams"), Booking(Paid, 60, 13, "\xE9lan"), Booking(Paid, 60, 14, "Zed")});
  ReadBookings(s, 1, false, false);
  OverdueList list;
  list.Build(s);
  list.SortBy(OverdueColumn::Surname);
  const std::vector<std::string> ascending = {"Adams", "smith", "Zed", "\xE9lan", "\xC9mile"};
  EXPECT_EQ(Surnames(list), ascending);
  list.SortBy(OverdueColumn::Surname);
  EXPECT_EQ(Surnames(list), std::vector<std::string>(ascending.rbegin(), ascending.rend()));
  list.Build(s);
  EXPECT_EQ(Surnames(list), std::vector<std::string>(ascending.rbegin(), ascending.rend()));
  // Another heading starts ascending; "Rec" goes by its text, as shown.
  list.SortBy(OverdueColumn::LetStarts);
  EXPECT_EQ(Surnames(list), (std::vector<std::string>{"smith", "\xC9mile", "Adams", "\xE9lan", "Zed"}));
  EXPECT_EQ(list.Find(list.rows[3]), 3);
}

// The file read back by Python's csv module: a quote in a name stays in its field.
TEST_F(OverdueListTest, CsvReadsBackFieldForFieldAndAsksBeforeOverwriting) {
  Book_Rec quoted = Booking(Paid, 60, 10, "O\"Neil");
  quoted.Fnames = "Ann, Jo ";
  WriteBookings(1, {quoted, Booking(RepayDeposit, 90, -20, "Bell")});
  ReadBookings(s, 1, false, false);
  OverdueList list;
  list.Build(s);
  const std::string path = OverdueCsvPath(s);
  ASSERT_EQ(ExportOverdueCsv(s, list.rows), CsvExport::Written);

  ChildProcess python = ChildProcess::Run(
      "/usr/bin/python3",
      {"-c", "import csv, json, sys\nprint(json.dumps(list(csv.reader(open(sys.argv[1], newline='', "
             "encoding='cp1252')))))",
       path});
  ASSERT_EQ(python.exitCode, 0) << python.Errors();
  const auto rows = nlohmann::json::parse(python.Output());
  const nlohmann::json want = {
      {"PropNo", "Name", "RecNo", "Start", "Surname", "First Name", "Comment"},
      {"1", "Ash", "1", SortableDateText(kToday + 10), "O\"Neil", "Ann, Jo",
       "Balance not acknowledged, send joining details?"},
      {"1", "Ash", "2", SortableDateText(kToday - 20), "Bell", "", "Repay deposit"}};
  EXPECT_EQ(rows, want);

  // Cancel leaves the old file; Yes replaces it.
  const std::string before = t.dir.Read("root/Overdue-Items.csv");
  const std::string question = "File " + PathText(path) + " already exists. Overwrite?";
  t.dialogs.Expect(question, MsgIcon::Warning, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
  EXPECT_EQ(ExportOverdueCsv(s, {}), CsvExport::Cancelled);
  EXPECT_EQ(t.dir.Read("root/Overdue-Items.csv"), before);
  t.dialogs.Expect(question, MsgIcon::Warning, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes);
  EXPECT_EQ(ExportOverdueCsv(s, {}), CsvExport::Written);
  EXPECT_EQ(t.dir.Read("root/Overdue-Items.csv"), "PropNo,Name,RecNo,Start,Surname,First Name,Comment\r\n");
}

}  // namespace
}  // namespace tb::test
