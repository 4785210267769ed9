// The monthly accounts' figures from bookings and expenses, the owner's e-mail merge,
// and the printed account, agent summary and CSV file.

#include <gtest/gtest.h>

#include "platform/forms/QtPrintCanvas.h"
#include "reports/AccountsFixture.h"
#include "reports/RecordingCanvas.h"
#include "reports/ReportPrinter.h"
#include "support/ChildProcess.h"

namespace tb::test {
namespace {

class MonthlyAccounts : public ::testing::Test, public AccountsFixture {
 protected:
  Stats_Rec Stats(int n, const std::vector<Book_Rec>& bookings, AccountsPeriod period,
                  std::vector<std::string>* unpaidOut = nullptr) {
    s.Prop(n).Bookings.Clear();
    for (const Book_Rec& b : bookings) s.Prop(n).Bookings.Append(b);
    std::vector<std::string> unpaid;
    Stats_Rec st = PropertyStats(s, n, period, unpaid);
    if (unpaidOut) *unpaidOut = unpaid;
    return st;
  }
};

TEST_F(MonthlyAccounts, BookingsCountInTheMonthTheyEnd) {
  const auto on = [](int y, int m, int d) { return EncodeDate(y, m, d); };
  Book_Rec cancelledCheap = Let(on(2026, 11, 1), 7, Cancelled);
  cancelledCheap.Total = 20;  // less than its booking fee of 30
  Book_Rec cancelled = Let(on(2026, 11, 1), 7, Cancelled);
  cancelled.Total = 200;
  Book_Rec kept = Let(on(2026, 9, 1), 7, Complete);
  kept.DateR = on(2026, 11, 15);  // the damage deposit kept in November
  const AccountsPeriod nov{2026, 11, false};
  struct Case {
    const char* what;
    int n;
    std::vector<Book_Rec> bookings;
    AccountsPeriod period;
    // The report month's figures, then the year's and the next year's.
    int days;
    double rent, bookingFees, cancellation, retained, totalIncome, mgtFee;
    int yearDays;
    size_t unpaid;
    int nextDays, nextComplete;
    double nextIncome, nextToCome;
  } cases[] = {
      {"a let leaving on 1 February counts wholly in February", 1, {Let(on(2026, 1, 25), 7, Complete)},
       {2026, 2, false}, 7, 500, 30, 0, 0, 520, 78, 7, 0, 0, 0, 0, 0},
      {"a cancelled let's booking fee above its total is the total", 1, {cancelledCheap}, nov, 0, 0, 20, 0, 0, 0, 0,
       0, 0, 0, 0, 0, 0},
      {"a cancelled let keeps its total less the booking fee", 1, {cancelled}, nov, 0, 0, 30, 170, 0, 170, 25.5, 0,
       0, 0, 0, 0, 0},
      {"a reservation never counts", 1,
       {Let(on(2026, 11, 1), 7, Reserved), Let(on(2027, 3, 1), 7, Reserved)}, nov, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
       0, 0},
      {"fee on rent only: the charges are income but not in the fee", 2, {Let(on(2026, 11, 2), 7, Complete)}, nov,
       7, 500, 0, 0, 0, 550, 50, 7, 0, 0, 0, 0, 0},
      {"a let ended and not paid up stops the run and counts nothing", 1, {Let(on(2026, 10, 1), 7, DepositPaid)}, nov, 0, 0,
       0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0},
      {"a forecast counts a let not paid up", 1, {Let(on(2026, 10, 1), 7, DepositPaid)}, {2026, 12, true}, 0, 0, 0, 0, 0,
       0, 0, 7, 0, 0, 0, 0, 0},
      {"a let ending after the report month need not be paid up", 1, {Let(on(2026, 12, 1), 7, Paid)}, nov, 0, 0, 0,
       0, 0, 0, 0, 7, 0, 0, 0, 0, 0},
      {"a damage deposit counts in the month it was kept", 1, {kept}, nov, 0, 0, 0, 0, 100, 100, 0, 7, 0, 0, 0, 0,
       0},
      {"next year: days complete before today, income still to come after", 1,
       {Let(on(2026, 3, 1), 7, Complete), Let(on(2026, 12, 20), 7, Paid), Let(on(2026, 6, 1), 7, Cancelled)},
       {2025, 12, false}, 0, 0, 0, 0, 0, 0, 0, 0, 0, 14, 7, 1040, 520},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> unpaid;
    const Stats_Rec st = Stats(c.n, c.bookings, c.period, &unpaid);
    const MonthStats& m = st.month[static_cast<size_t>(c.period.month - 1)];
    EXPECT_EQ(m.days, c.days);
    EXPECT_DOUBLE_EQ(m.rent, c.rent);
    EXPECT_DOUBLE_EQ(m.bookingFees, c.bookingFees);
    EXPECT_DOUBLE_EQ(m.cancellation, c.cancellation);
    EXPECT_DOUBLE_EQ(m.retained, c.retained);
    EXPECT_DOUBLE_EQ(m.totalIncome, c.totalIncome);
    EXPECT_DOUBLE_EQ(m.mgtFee, c.mgtFee);
    EXPECT_DOUBLE_EQ(m.vat, c.mgtFee * 0.2);
    EXPECT_EQ(st.daysBooked, c.yearDays);
    EXPECT_EQ(unpaid.size(), c.unpaid);
    EXPECT_EQ(st.nextDays, c.nextDays);
    EXPECT_EQ(st.nextDaysComplete, c.nextComplete);
    EXPECT_DOUBLE_EQ(st.nextIncome, c.nextIncome);
    EXPECT_DOUBLE_EQ(st.nextIncomeToCome, c.nextToCome);
  }
  std::vector<std::string> unpaid;
  Stats(1, {Let(on(2026, 10, 1), 7, DepositPaid, "O'Neill")}, nov, &unpaid);
  EXPECT_EQ(unpaid, std::vector<std::string>{"Booking not paid up. Property=Ash & Elm Name=O'Neill  Start date=" +
                                             ShortDateText(on(2026, 10, 1))});
}

TEST_F(MonthlyAccounts, YearToDateAndForecastFigures) {
  // A let in March (complete), one in November (the report month), one in December.
  const Stats_Rec st = Stats(1,
                             {Let(EncodeDate(2026, 3, 1), 7, Complete), Let(EncodeDate(2026, 11, 1), 7, Complete),
                              Let(EncodeDate(2026, 12, 1), 7, Paid)},
                             {2026, 11, false});
  EXPECT_EQ(st.daysBooked, 21);
  EXPECT_EQ(st.daysComplete, 14);
  EXPECT_DOUBLE_EQ(st.receivedToDate, 1040);
  EXPECT_DOUBLE_EQ(st.feeBaseToDate, 1040);
  EXPECT_DOUBLE_EQ(st.mgtFeesToDate, 156);
  EXPECT_DOUBLE_EQ(st.bookingFeesToDate, 60);
  EXPECT_DOUBLE_EQ(st.forecastIncome, 520);
  EXPECT_DOUBLE_EQ(st.forecastFees, 30 * 100.0 / 120 + 520 * 0.15);
  EXPECT_DOUBLE_EQ(st.netIncomeToDate, 1040 - 1.2 * 156);
  const AgentFigures a = AgentFiguresOf(s, 1, {2026, 11, false}, st);
  EXPECT_DOUBLE_EQ(a.bookingFees, 25);
  EXPECT_DOUBLE_EQ(a.totalFees, 25 + 78);
  EXPECT_DOUBLE_EQ(a.vat, (25 + 78) * 0.2);
  EXPECT_DOUBLE_EQ(a.feesToDate, 50 + 156);
}

TEST_F(MonthlyAccounts, ExpensesOfTheMonthAndTheYearToDate) {
  WriteExpenses(1, 2025, 2);  // 2025 and 2026
  struct Case {
    int year, month;
    double month1, month2, toDate;
  } cases[] = {
      {2026, 11, 21, 31, 11 * 30 + 2 * 66},
      {2025, 1, 11, 21, 32},
      {2024, 11, 0, 0, 0},  // before the ledger's first year
      {2027, 1, 0, 0, 0},   // after its last
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    const Stats_Rec st = Stats(1, {}, {c.year, c.month, true});
    ASSERT_EQ(st.expenses.size(), 2u);
    EXPECT_DOUBLE_EQ(st.expenses[0], c.month1);
    EXPECT_DOUBLE_EQ(st.expenses[1], c.month2);
    EXPECT_DOUBLE_EQ(st.expensesToDate, c.toDate);
    EXPECT_DOUBLE_EQ(st.totalExpenditure, c.month1 + c.month2);
    EXPECT_DOUBLE_EQ(st.netIncome, -(c.month1 + c.month2));
    EXPECT_DOUBLE_EQ(st.netIncomeToDate, -c.toDate);
  }
}

TEST_F(MonthlyAccounts, MergeReplacesEveryFieldAndDropsOmittedLines) {
  const std::vector<AccountField> fields = {
      {"<-Prop->", "Ash &amp; Elm"}, {"<-Yr->", "2026"}, {"<-RetD->", "&pound;0.00", true}, {"<-Owner->", "<-Yr->"}};
  struct Case {
    std::string proforma, merged;
  } cases[] = {
      {"<p><-Prop-></p>\r\n<p>x</p>", "<p>Ash &amp; Elm</p>\r\n<p>x</p>"},
      {"Year <-Yr->\r\n", "Year 2026\r\n"},  // a short field at the end of a line
      {"Year <-Yr->", "Year 2026"},
      {"<-Yr-><-Yr->\n", "20262026\n"},
      {"a\r\n<td><-RetD-></td>\r\nb", "a\r\nb"},
      {"<td><-Prop-></td><td><-RetD-></td>\nend\n", "end\n"},
      {"<-Nope-> < <- <-Yr", "<-Nope-> < <- <-Yr"},
      {"<-Owner->\n", "<-Yr->\n"},  // a value is not merged again
      {"<<-Yr->", "<2026"},
  };
  for (const Case& c : cases) EXPECT_EQ(MergeAccount(c.proforma, fields), c.merged) << c.proforma;
}

TEST_F(MonthlyAccounts, EmailFieldsAreEscapedAndOmittedWhereNothingIsToShow) {
  s.common.NExpCats = 7;
  s.common.ExpDesc = {"", "Cleaning", "Repairs", "C3", "C4", "C5", "C6", "Pool <heated>"};
  const AccountsPeriod nov{2026, 11, false};
  Stats_Rec st = Stats(1, {Let(EncodeDate(2026, 11, 1), 7, Complete)}, nov);
  st.expenses = {0, 12.5, 0, 0, 0, 0, 5};
  std::map<std::string, AccountField> f;
  for (const AccountField& field : AccountFields(s, 1, nov, st, "Alice & Bob Penrose")) f[field.name] = field;
  EXPECT_EQ(f["<-Prop->"].value, "Ash &amp; Elm");
  EXPECT_EQ(f["<-Owner->"].value, "Alice &amp; Bob Penrose");
  EXPECT_EQ(f["<-Month->"].value, "November 2026");
  EXPECT_EQ(f["<-Rent->"].value, "&pound;500.00");
  EXPECT_FALSE(f["<-ECh1->"].omit);
  EXPECT_TRUE(f["<-ECh2->"].omit);  // the booking fee
  EXPECT_TRUE(f["<-ECh3->"].omit);  // the damage deposit
  EXPECT_EQ(f["<-ECN2->"].value, "Booking Fee");
  EXPECT_TRUE(f["<-RetD->"].omit);
  EXPECT_TRUE(f["<-CanC->"].omit);
  EXPECT_TRUE(f["<-Exp1->"].omit);
  EXPECT_EQ(f["<-Exp2->"].value, "&pound;12.50");
  EXPECT_FALSE(f["<-Exp2->"].omit);
  EXPECT_EQ(f["<-ExN7->"].value, "Pool &lt;heated&gt;");
  EXPECT_EQ(f["<-Exp7->"].value, "&pound;5.00");
  EXPECT_FALSE(f["<-Exp7->"].omit);
  EXPECT_EQ(f.count("<-Exp8->"), 0u);
  EXPECT_EQ(f["<-TDay->"].value, "7");
  EXPECT_EQ(f["<-Yr->"].value, "2026");
  EXPECT_EQ(f["<-FeeNote->"].value,
            "The management fee is 15% of the total payments, less any retained damage deposits.");
  EXPECT_EQ(FeeNote(s, 2), "The management fee is 10% of the rent plus any cancellation charges.");
  EXPECT_EQ(FeeNote(s, 3), "The management fee is 12.5% of the total payments, less any retained damage deposits.");
  // Without categories past six the fields of six are there, empty and left out.
  s.common.NExpCats = 2;
  st.expenses = {0, 12.5};
  f.clear();
  for (const AccountField& field : AccountFields(s, 2, nov, st, "")) f[field.name] = field;
  EXPECT_TRUE(f["<-Exp6->"].omit);
  EXPECT_EQ(f["<-ExN6->"].value, "");
  EXPECT_EQ(f["<-Rent->"].value, "$500.00");
  EXPECT_TRUE(f["<-ECh3->"].omit);  // Birch has two charges
}

// The text of a PDF line by line.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at <= text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}
// What is printed after each label on its line, in order, spaces between columns
// taken as one.
std::vector<std::string> Beside(const std::vector<std::string>& lines, const std::string& label) {
  std::vector<std::string> found;
  for (const std::string& line : lines)
    if (line.find(label) != std::string::npos) {
      std::string rest;
      for (const char c : line.substr(line.find(label) + label.size()))
        if (c != ' ' || (!rest.empty() && rest.back() != ' ')) rest += c;
      while (!rest.empty() && rest.back() == ' ') rest.pop_back();
      found.push_back(rest);
    }
  return found;
}

TEST_F(MonthlyAccounts, PrintedAccountAndAgentSummary) {
  WriteExpenses(1, 2025, 2);
  const AccountsPeriod dec{2025, 12, false};
  // A let ending in December; next year, one complete and one to come.
  const std::vector<Stats_Rec> stats = {
      Stats(1,
            {Let(EncodeDate(2025, 12, 20), 7, Complete), Let(EncodeDate(2026, 3, 1), 7, Complete),
             Let(EncodeDate(2026, 12, 20), 7, Paid)},
            dec),
      Stats(2, {}, dec)};
  const std::string pdf = t.dir / "accounts.pdf";
  {
    QtPrintCanvas canvas(pdf);
    ReportPrinter printer(s, canvas);
    ASSERT_TRUE(printer.BeginPrintJob('P', "Monthly Accounts"));
    PrintAccount(printer, s, 1, dec, stats[0], false);
    printer.NewPage();
    PrintAccount(printer, s, 2, dec, stats[1], true);
    printer.EndPrintJob();
  }
  const std::vector<std::string> lines = Lines(PdfText(pdf));
  const std::string L = "\xC2\xA3";  // the pound sign as pdftotext writes it
  EXPECT_EQ(Beside(lines, "Rent and charges"), std::vector<std::string>({"received to date " + L + "520.00",
                                                                         "received to date $0.00"}))
      << PdfText(pdf);
  EXPECT_EQ(Beside(lines, "Total Income"), std::vector<std::string>({L + "520.00", "$0.00"}));
  EXPECT_EQ(Beside(lines, "Fuel"), std::vector<std::string>({L + "20.00", "$0.00"}));
  EXPECT_EQ(Beside(lines, "Linen"), std::vector<std::string>({"$0.00"}));
  // The booking fee is the agent's: only on the agent's lines.
  EXPECT_EQ(Beside(lines, "Booking Fee"), std::vector<std::string>({"s (exc. VAT) $0.00"}));
  EXPECT_EQ(Beside(lines, "Management Fees (net)")[0], L + "78.00");
  EXPECT_EQ(Beside(lines, "VAT on Management Fees")[0], L + "15.60");
  EXPECT_EQ(Beside(lines, "Cleaning")[0], L + "22.00");
  EXPECT_EQ(Beside(lines, "Repairs, garden")[0], L + "32.00");
  EXPECT_EQ(Beside(lines, "Total Expenditure")[0], L + "147.60");
  EXPECT_EQ(Beside(lines, "Net Income for December 2025")[0], L + "372.40");
  EXPECT_EQ(Beside(lines, "Less Management fees to date (inc. VAT)")[0], "(" + L + "93.60)");
  EXPECT_EQ(Beside(lines, "Less Expenses year to date")[0], "(" + L + "516.00)");
  EXPECT_EQ(Beside(lines, "Net Income (year to date)")[0], L + "-89.60");
  // Next year's days complete print as a number, as this year's do.
  EXPECT_EQ(Beside(lines, "Total days already complete"), std::vector<std::string>({"7", "7", "0"}));
  EXPECT_EQ(Beside(lines, "Forecast gross income to date"), std::vector<std::string>({L + "1040.00"}));
  EXPECT_EQ(Beside(lines, "Forecast gross income remaining"),
            std::vector<std::string>({L + "0.00", L + "520.00", "$0.00", "$0.00"}));
  EXPECT_EQ(Beside(lines, "Booking Summary for").size(), 4u);
  EXPECT_EQ(Beside(lines, "Agent Summary for"), std::vector<std::string>({"December 2025"}));
  EXPECT_EQ(Beside(lines, "Note: Income is credited").size(), 1u);  // the owner's page only
  EXPECT_EQ(Beside(lines, "The management fee is 15%").size(), 1u);

  const std::string summary = t.dir / "summary.pdf";
  {
    QtPrintCanvas canvas(summary);
    ReportPrinter printer(s, canvas);
    s.Prop(2).PropName = "Birch, Upper";
    ASSERT_TRUE(PrintAgentSummary(printer, s, dec, {1, 2}, stats));
  }
  const std::vector<std::string> rows = Lines(PdfText(summary));
  EXPECT_EQ(Beside(rows, "Agent Summary Report for"), std::vector<std::string>({"December 2025"}));
  const std::vector<std::string> first = Beside(rows, "1 Ash & Elm");
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].substr(0, 4), "7 7 ");
  EXPECT_NE(first[0].find(L + "520 " + L + "147.60 " + L + "372.40 " + L + "25 " + L + "78 " + L + "103 " + L +
                          "20.60 " + L + "103 " + L + "0"),
            std::string::npos)
      << first[0];
  EXPECT_EQ(Beside(rows, "2 Birch, Upper").size(), 1u);
  EXPECT_EQ(Beside(rows, "Totals").size(), 1u);

  // The same as a CSV file: a comma in a name no longer moves the columns.
  EXPECT_EQ(AgentSummaryCsv(s, dec, {1, 2}, stats),
            "PROPERTY,Days Bkd,Days Cmp,Tot Income,Cleaning,\"Repairs, garden\",Tot Expense,Tot Expend,Net Income,"
            "Book.Fees,Mgmt.Fees,Tot Fees,VAT,Fees YTD,Fees F/C\r\n"
            "1 Ash & Elm,7,7,520,22,32,54,147.60,372.40,25,78,103,20.60,103,0,\r\n"
            "\"2 Birch, Upper\",0,0,0,0,0,0,0,0,0,0,0,0,0,0,\r\n"
            "Totals,7.00,7.00,520,22,32,54,147.60,372.40,25,78,103,20.60,103,0\r\n");
}

TEST_F(MonthlyAccounts, AnAccountLongerThanAPageGoesOnToTheNext) {
  s.common.NExpCats = 30;
  s.common.ExpDesc.assign(31, "Category");
  Stats_Rec st = Stats(1, {}, {2026, 11, false});
  st.expenses.assign(30, 1.0);
  RecordingCanvas canvas;
  ReportPrinter printer(s, canvas);
  ASSERT_TRUE(printer.BeginPrintJob('P', "Monthly Accounts"));
  PrintAccount(printer, s, 1, {2026, 11, false}, st, false);
  printer.EndPrintJob();
  EXPECT_EQ(canvas.Of("page").size(), 1u);
  const int bottom = canvas.PageHeight() - printer.Mm(20);
  for (const RecordingCanvas::Op& op : canvas.Of("fill")) EXPECT_LE(op.rect.top, bottom);
  EXPECT_EQ(canvas.Of("text").back().text,
            "The management fee is 15% of the total payments, less any retained damage deposits.");
}

}  // namespace
}  // namespace tb::test
