// The payments list: what each kind of booking gives, the monthly sub-totals, the
// list over a root folder's booking files and "Payments.csv" byte for byte.

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/FormatSettings.h"
#include "reports/Payments.h"
#include "reports/PaymentsCsv.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 9);  // TestSession's day

std::string Day(TDateTime d) { return SortableDateText(d); }

// One entry as "Type/Comment/amount in hundredths/yyyy/mm/dd".
std::vector<std::string> Entries(const std::vector<PaymentRow>& rows) {
  std::vector<std::string> out;
  for (const PaymentRow& r : rows)
    out.push_back(std::string(r.Type()) + "/" + r.Comment() + "/" + std::to_string(r.cents) + "/" + Day(r.date));
  return out;
}

class PaymentsTest : public ::testing::Test {
 protected:
  PaymentsTest() {
    // Property 1 returns a damage deposit (charge 3); property 2 has none and writes "$".
    t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=Ash\nExtChg3=Ret Deposit\n[Prop02]\nPropName=Elm\nCS=$\n");
  }
  // A booking with a deposit of 100 and a balance of 400 (total 500).
  static Book_Rec Let(TDateTime start, uint8_t status, const std::string& surname = "Ames") {
    Book_Rec b = MakeBooking(start, 7, surname, status);
    b.Total = 500;
    b.Deposit = 100;
    b.Balance = 400;
    return b;
  }
  std::vector<std::string> Of(const Book_Rec& b, PaymentOptions o = {}) {
    if (o.start == 0) o.start = EncodeDate(2000, 1, 1);  // "not paid" (1.0) out of range
    if (o.end == 0) o.end = EncodeDate(2100, 1, 1);
    std::vector<PaymentRow> rows;
    AddPaymentEntries(b, s.Prop(1), 1, kToday, o, rows);
    return Entries(rows);
  }
  void WriteBookings(int n, const std::vector<Book_Rec>& records) {
    ForceDirectories(s.Prop(n).Folder + "Data/");
    ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, n), BookingFileImage(records)));
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(PaymentsTest, EachKindOfBookingGivesItsEntries) {
  const TDateTime jan = EncodeDate(2027, 1, 10);   // balance due 29 Nov 2026: passed
  const TDateTime june = EncodeDate(2027, 6, 5);   // balance due 24 Apr 2027
  const std::string today = "/" + Day(kToday);
  const std::string juneDue = "/" + Day(june - 42);
  const TDateTime paidOn = EncodeDate(2026, 10, 1), balanceOn = EncodeDate(2026, 11, 20),
                  refundOn = EncodeDate(2026, 12, 1);

  Book_Rec lateHold = Let(jan, Hold);
  Book_Rec depositLate = Let(june, Hold);
  depositLate.DateB = kToday - 8;  // deposit was due yesterday
  Book_Rec newHold = Let(june, Hold);
  newHold.DateB = kToday - 2;
  newHold.Deposit = 0;  // nothing asked: no deposit line
  Book_Rec depositPaid = Let(jan, DepositPaid);
  depositPaid.DateD = paidOn;
  Book_Rec paidWithDamage = Let(june, Paid);
  paidWithDamage.DateD = paidOn;
  paidWithDamage.DateP = balanceOn;
  paidWithDamage.Chg3 = 150;
  Book_Rec pastWithDamage = paidWithDamage;  // left already: its refund is due today
  pastWithDamage.StartD = EncodeDate(2026, 11, 1);
  pastWithDamage.EndD = pastWithDamage.StartD + 7;
  Book_Rec complete = paidWithDamage;
  complete.Status = Complete;
  complete.Refund = 150;
  complete.DateR = refundOn;
  Book_Rec cancelledRefunded = Let(june, Cancelled);
  cancelledRefunded.DateD = paidOn;
  cancelledRefunded.Refund = 60;
  cancelledRefunded.DateR = refundOn;
  Book_Rec cancelledOpen = cancelledRefunded;
  cancelledOpen.DateR = kNotPaid;
  Book_Rec reserved = Let(jan, Reserved);
  reserved.DateD = paidOn;

  PaymentOptions omitFuture, omitComplete;
  omitFuture.omitFuture = omitComplete.omitComplete = true;
  struct Case {
    const char* name;
    Book_Rec b;
    PaymentOptions o;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"hold past its balance date: once, in full, today", lateHold, {}, {"Total/Total due/50000" + today}},
      {"hold with its deposit overdue", depositLate, {}, {"Deposit/OverDue/10000" + today, "Balance/Due/40000" + juneDue}},
      {"new hold without deposit", newHold, {}, {"Balance/Due/40000" + juneDue}},
      {"deposit paid, balance overdue",
       depositPaid,
       {},
       {"Balance/Overdue/40000" + today, "Deposit//10000/" + Day(paidOn)}},
      {"predictions left out", depositPaid, omitFuture, {"Deposit//10000/" + Day(paidOn)}},
      {"paid, damage deposit to return after the let",
       paidWithDamage,
       {},
       {"Refund/Ret Dep(due)/-15000/" + Day(june + 7), "Deposit//10000/" + Day(paidOn),
        "Balance//40000/" + Day(balanceOn)}},
      {"damage deposit overdue: today",
       pastWithDamage,
       {},
       {"Refund/Ret Dep(due)/-15000" + today, "Deposit//10000/" + Day(paidOn), "Balance//40000/" + Day(balanceOn)}},
      {"complete: the refund made",
       complete,
       {},
       {"Deposit//10000/" + Day(paidOn), "Balance//40000/" + Day(balanceOn), "Refund/Ret Dep/-15000/" + Day(refundOn)}},
      {"complete, completed left out", complete, omitComplete, {}},
      {"cancelled and refunded",
       cancelledRefunded,
       {},
       {"Deposit/Cancellation/10000/" + Day(paidOn), "Refund/Cancellation/-6000/" + Day(refundOn)}},
      {"cancelled and settled, completed left out", cancelledRefunded, omitComplete, {}},
      {"cancelled, refund still to come",
       cancelledOpen,
       {},
       {"Deposit/Cancellation/10000/" + Day(paidOn), "Refund?/Cancellation/-50000/" + Day(june + 7)}},
      {"cancelled, refund still to come, predictions left out",
       cancelledOpen,
       omitFuture,
       {"Deposit/Cancellation/10000/" + Day(paidOn)}},
      {"reserved: never", reserved, {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Of(c.b, c.o), c.entries) << c.name;

  // The dates are inclusive, whole days, whatever the time of the payment.
  PaymentOptions december;
  december.start = EncodeDate(2026, 12, 1);
  december.end = kToday;
  complete.DateR = refundOn + 0.75;
  EXPECT_EQ(Of(complete, december), std::vector<std::string>{"Refund/Ret Dep/-15000/" + Day(refundOn)});
  december.end = kToday - 1;
  EXPECT_EQ(Of(lateHold, december), std::vector<std::string>{});
}

TEST_F(PaymentsTest, MonthlySubTotals) {
  struct Case {
    const char* name;
    std::vector<std::pair<TDateTime, int64_t>> rows;  // date, hundredths
    std::vector<int64_t> subTotals;                   // -1: none on that row
    int64_t total;
  };
  const TDateTime jan = EncodeDate(2026, 1, 5), feb = EncodeDate(2026, 2, 5), mar = EncodeDate(2026, 3, 5);
  const Case cases[] = {
      {"a sub-total at each month's last row", {{jan, 100}, {jan, 50}, {feb, 30}}, {-1, 150, 30}, 180},
      {"a month netting below zero carries into the next month's sub-total",
       {{jan, 100}, {jan, -150}, {feb, 100}, {feb, 20}, {mar, 5}},
       {-1, -1, -1, 70, 5},
       75},
      {"a month netting to zero carries too", {{jan, 100}, {jan, -100}, {feb, 40}}, {-1, -1, 40}, 40},
      {"the last row keeps what remains, even below zero", {{jan, 100}, {feb, -30}}, {100, -30}, 70},
      {"the same month a year later is another month", {{jan, 10}, {jan + 365, 20}}, {10, 20}, 30},
      {"one row", {{jan, -5}}, {-5}, -5},
  };
  for (const Case& c : cases) {
    std::vector<PaymentRow> rows;
    for (const auto& [date, cents] : c.rows) {
      PaymentRow& r = rows.emplace_back();
      r.date = date;
      r.cents = cents;
    }
    EXPECT_EQ(SubTotalPayments(rows), c.total) << c.name;
    std::vector<int64_t> subTotals;
    for (const PaymentRow& r : rows) subTotals.push_back(r.hasSubTotal ? r.subTotalCents : -1);
    EXPECT_EQ(subTotals, c.subTotals) << c.name;
  }
  std::vector<PaymentRow> none;
  EXPECT_EQ(SubTotalPayments(none), 0);
}

// Two properties' files: rows in date order (equal dates in property and list order),
// each with its property's currency, and the CSV of them byte for byte.
TEST_F(PaymentsTest, ListOverTheFilesAndItsCsv) {
  Book_Rec quote = Let(EncodeDate(2026, 3, 7), Paid, "O\"Neil, Jo");
  quote.DateD = EncodeDate(2026, 1, 15);
  quote.DateP = EncodeDate(2026, 2, 6);
  quote.Deposit = 100.5;
  Book_Rec early = Let(EncodeDate(2026, 1, 3), Complete, "Bell");
  early.DateD = EncodeDate(2025, 12, 1);  // before the start date
  early.DateP = EncodeDate(2026, 1, 15);
  WriteBookings(1, {early, quote});
  Book_Rec dollars = Let(EncodeDate(2026, 2, 20), Cancelled, "Cole");
  dollars.DateD = EncodeDate(2026, 1, 15);
  dollars.Refund = 100;
  dollars.DateR = EncodeDate(2026, 2, 1);
  WriteBookings(2, {dollars});

  PaymentOptions o;
  o.properties = {2, 1, 7};  // in number order; no property 7
  o.start = EncodeDate(2026, 1, 1);
  o.end = EncodeDate(2026, 12, 31);
  o.omitFuture = true;
  const std::vector<PaymentRow> rows = PaymentRows(s, o);
  ASSERT_EQ(rows.size(), 5u);
  std::vector<std::string> cells;
  for (const PaymentRow& r : rows) {
    std::string line;
    for (int c = 0; c < kPaymentColumns; ++c) line += PaymentCellText(r, static_cast<PaymentColumn>(c)) + "|";
    cells.push_back(line);
  }
  const std::vector<std::string> expected = {
      "2026/01/15|1|Bell|2026/01/03|7|\xA3" "400|Balance||" "|",
      "2026/01/15|1|O\"Neil, Jo|2026/03/07|7|\xA3" "100.50|Deposit||" "|",
      "2026/01/15|2|Cole|2026/02/20|7|$100|Deposit|Cancellation|\xA3" "600.50|",
      "2026/02/01|2|Cole|2026/02/20|7|$-100|Refund|Cancellation||",
      "2026/02/06|1|O\"Neil, Jo|2026/03/07|7|\xA3" "400|Balance||\xA3" "300.00|",
  };
  EXPECT_EQ(cells, expected);
  EXPECT_EQ(PaymentsFoundText(2, 5), "2 properties scanned, 5 payments found");
  EXPECT_EQ(PaymentsTotalText(90050), "Total payments = \xA3" "900.50");

  const std::string csv = PaymentsCsv(rows, BritishFormatSettings());
  EXPECT_EQ(csv,
            "\"Date\",\"Prop\",\"Surname\",\"Let starts\",\"Days\",\"Amount\",\"Type\",\"Comment\",\"Sub-Totals\"\r\n"
            "15-Jan-2026,\"1\",\"Bell\",03-Jan-2026,\"7\",\xA3" "400,\"Balance\",\"\",\"\"\r\n"
            "15-Jan-2026,\"1\",\"O\"\"Neil, Jo\",07-Mar-2026,\"7\",\xA3" "100.50,\"Deposit\",\"\",\"\"\r\n"
            "15-Jan-2026,\"2\",\"Cole\",20-Feb-2026,\"7\",$100,\"Deposit\",\"Cancellation\",\"\xA3" "600.50\"\r\n"
            "01-Feb-2026,\"2\",\"Cole\",20-Feb-2026,\"7\",$-100,\"Refund\",\"Cancellation\",\"\"\r\n"
            "06-Feb-2026,\"1\",\"O\"\"Neil, Jo\",07-Mar-2026,\"7\",\xA3" "400,\"Balance\",\"\",\"\xA3" "300.00\"\r\n");

  // A currency symbol that would split the line is quoted with the amount.
  std::vector<PaymentRow> comma(1);
  comma[0].date = comma[0].arrival = EncodeDate(2026, 3, 5);
  comma[0].currency = ',';
  comma[0].cents = 1200;
  const std::string line = PaymentsCsv(comma, BritishFormatSettings());
  EXPECT_NE(line.find(",\",12\","), std::string::npos) << line;
}

TEST_F(PaymentsTest, ColumnSortsNumbersByValueAndTextsIgnoringCase) {
  std::vector<PaymentRow> base(4);
  const struct {
    int prop;
    const char* surname;
    int64_t cents;
  } data[] = {{10, "brown", 5000}, {9, "Adams", -200}, {2, "\xE9vans", 900}, {1, "Brown", 10000}};
  for (size_t i = 0; i < base.size(); ++i) {
    base[i].prop = data[i].prop;
    base[i].Surname = data[i].surname;
    base[i].cents = data[i].cents;
    base[i].date = EncodeDate(2026, 1, static_cast<int>(i) + 1);
  }
  struct Case {
    PaymentColumn column;
    bool descending;
    std::vector<int> props;
  };
  const Case cases[] = {
      {PaymentColumn::Prop, false, {1, 2, 9, 10}},
      {PaymentColumn::Amount, false, {9, 2, 10, 1}},
      {PaymentColumn::Amount, true, {1, 10, 2, 9}},
      {PaymentColumn::Surname, false, {9, 10, 1, 2}},  // ties keep their order
      {PaymentColumn::Date, true, {1, 2, 9, 10}},
  };
  for (const Case& c : cases) {
    std::vector<PaymentRow> rows = base;
    SortPaymentRows(rows, c.column, c.descending);
    std::vector<int> props;
    for (const PaymentRow& r : rows) props.push_back(r.prop);
    EXPECT_EQ(props, c.props) << static_cast<int>(c.column) << c.descending;
  }
}

// A failed write names the file and the system's reason and leaves the old file whole.
TEST_F(PaymentsTest, AFailedWriteSaysWhyAndKeepsTheOldFile) {
  std::vector<PaymentRow> rows(1);
  std::string error;
  ASSERT_TRUE(WritePaymentsCsv(s, rows, error));
  const std::string before = t.dir.Read("root/Payments.csv");
  s.common.RootFolder = t.Root() + "missing/";
  EXPECT_FALSE(WritePaymentsCsv(s, rows, error));
  EXPECT_EQ(error, "Cannot write " + t.Root() + "missing/Payments.csv\rNo such file or directory");
  EXPECT_EQ(t.dir.Read("root/Payments.csv"), before);
}

}  // namespace
}  // namespace tb::test
