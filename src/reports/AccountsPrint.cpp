// The monthly accounts on paper (the owner's account, the agent summary) and the agent
// summary as a CSV file.

#include <cmath>
#include <string_view>

#include "platform/Escape.h"
#include "platform/Format.h"
#include "platform/FormatSettings.h"
#include "reports/Expenses.h"
#include "reports/MonthlyAccounts.h"
#include "reports/ReportPrinter.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

constexpr Rgb kHeadingGrey{224, 224, 224};

// An amount on the printed account: the currency symbol and exactly two decimals.
std::string PrintMoney(const Prop_Rec& p, double v) { return p.CurrencySymbol() + Format("%.2f", {v}); }

// The account's two columns, a line at a time down the page.
class AccountPage {
 public:
  explicit AccountPage(ReportPrinter& p) : p_(p) {
    label_ = p_.Mm(34);
    amount_ = label_ + p_.Mm(90);
    right_ = amount_ + p_.Mm(50);
    p_.y = p_.Mm(30);
  }

  void Line(const std::string& label, const std::string& amount, bool bold = false) {
    Room(bold);
    p_.PrintCell(label_, amount_, p_.y, label, kWhite, 'L');
    p_.PrintCell(amount_, right_, p_.y, amount, kWhite, 'R');
    p_.y += p_.rowHeight;
  }
  void Heading(const std::string& text, bool bold = false) {
    Room(bold);
    p_.PrintCell(label_, right_, p_.y, text, kHeadingGrey, 'L');
    p_.y += p_.rowHeight;
  }
  void EndBlock() {
    p_.PrintRule(label_, right_, p_.y);
    p_.y += 2 * p_.rowHeight;
  }
  // The notes under an owner's account, in small type, two thirds of a row apart.
  void Notes(const std::vector<std::string>& lines) {
    p_.y += p_.rowHeight;
    const int step = static_cast<int>(std::lround(p_.rowHeight / 1.5));
    for (const std::string& text : lines) {
      if (p_.y > Bottom()) NextPage();
      p_.canvas.SetFont({"Arial", 8, false});
      p_.canvas.DrawText(label_, p_.y, text);
      p_.y += step;
    }
  }

 private:
  int Bottom() const { return p_.canvas.PageHeight() - p_.Mm(20); }
  void NextPage() {
    p_.NewPage();
    p_.y = p_.Mm(22);
  }
  // A line that would start below the bottom margin goes on a new page (an account
  // with many expense categories does not fit on one).
  void Room(bool bold) {
    if (p_.y + p_.rowHeight > Bottom()) NextPage();
    p_.canvas.SetFont({"Arial", 10, bold});
  }

  ReportPrinter& p_;
  int label_ = 0, amount_ = 0, right_ = 0;
};

}  // namespace

void PrintAccount(ReportPrinter& printer, const Session& s, int n, const AccountsPeriod& period, const Stats_Rec& st,
                  bool agentReport) {
  const Prop_Rec& p = s.Prop(n);
  const std::string month = AccountsMonthText(period);
  const MonthStats& k = st.month[static_cast<size_t>(period.month - 1)];
  const auto money = [&](double v) { return PrintMoney(p, v); };
  const auto less = [&](double v) { return "(" + money(v) + ")"; };
  printer.PrintTitle(agentReport ? "Agent Report. " + month + "  " + PropertyTitle(s, n)
                                 : PropertyTitle(s, n) + ".    Accounts for " + month);
  AccountPage page(printer);

  page.Heading("INCOME FOR " + month, true);
  page.Line("Rent", money(k.rent));
  for (const int c : CountedCharges(s, n))
    page.Line(p.ExtChg[static_cast<size_t>(c)], money(k.charges[static_cast<size_t>(c - 1)]));
  if (k.retained > 0) page.Line("Plus retained damage deposits", money(k.retained));
  if (k.cancellation > 0) page.Line("Plus cancellation charges", money(k.cancellation));
  page.Line("Total Income", money(k.totalIncome), true);
  page.EndBlock();

  page.Heading("EXPENDITURE FOR " + month);
  page.Line("Management Fees (net)", money(k.mgtFee));
  page.Line("VAT on Management Fees", money(k.vat));
  const std::vector<std::string> names = ExpenseCategoryNames(s);
  for (size_t c = 0; c < names.size() && c < st.expenses.size(); ++c)
    if (st.expenses[c] > 0) page.Line(names[c], money(st.expenses[c]));
  page.Line("Total Expenditure", money(st.totalExpenditure), true);
  page.EndBlock();

  page.Line("Net Income for " + month, money(st.netIncome), true);
  page.EndBlock();

  page.Heading("Income / Expenditure Summary (Current year to end " + month + ")");
  page.Line("Rent and charges received to date", money(st.receivedToDate));
  page.Line("Retained damage deposits to date", money(st.retainedToDate));
  page.Line("Less Management fees to date (inc. VAT)",
            less((s.common.Tax / 100 + 1) * st.feeBaseToDate * p.MgtFee / 100));
  page.Line("Less Expenses year to date", less(st.expensesToDate));
  page.Line("Net Income (year to date)", money(st.netIncomeToDate), true);
  page.EndBlock();

  page.Heading("Booking Summary for Current Year = " + std::to_string(period.year));
  page.Line("Total days booked", std::to_string(st.daysBooked));
  page.Line("Total days already complete", std::to_string(st.daysComplete));
  page.Line("Forecast gross income remaining", money(st.forecastIncome));
  page.EndBlock();

  page.Heading("Booking Summary for " + std::to_string(period.year + 1), true);
  page.Line("Total days booked", std::to_string(st.nextDays));
  if (st.nextDaysComplete > 0) {
    page.Line("Total days already complete", std::to_string(st.nextDaysComplete));
    page.Line("Forecast gross income to date", money(st.nextIncome));
  }
  page.Line("Forecast gross income remaining", money(st.nextIncomeToCome));
  page.EndBlock();

  if (agentReport) {
    const AgentFigures a = AgentFiguresOf(s, n, period, st);
    page.Heading("Agent Summary for " + month, true);
    page.Line("Booking Fees (exc. VAT)", money(a.bookingFees));
    page.Line("Management Fees (exc. VAT)", money(a.mgtFee));
    page.Line("Total fees (Booking and Management) exc. VAT", money(a.totalFees));
    page.Line("VAT payable", money(a.vat));
    page.Line("Forecast fees (Booking and Management) exc. VAT", money(a.forecastFees));
    page.EndBlock();
  } else {
    page.Notes({"Note: Income is credited in the month in which the let completes.",
                "Retained damage deposits are credited in the month in which the retention is made (and any "
                "repayment made).",
                "Any cancellation charges are credited based on the end date of the cancelled let.", FeeNote(s, n)});
  }
}

namespace {

// The agent summary's columns: the property, two day counts, nine amounts.
constexpr int kSummaryColumns = 12;
constexpr double kSummaryWidths[kSummaryColumns] = {50, 18, 18, 21, 21, 21, 20, 20, 20, 16, 20, 20};
constexpr const char* kSummaryHeadings[kSummaryColumns] = {
    "Property",  "Days Bkd",  "Days Cmp", "Tot Income", "Tot Expend.", "Net Income",
    "Book.Fees", "Mgmt.Fees", "Tot Fees", "VAT",        "Fees YTD",    "Fees F/C"};
constexpr int kSummaryAmounts = 9;

// One row's amounts, in column order.
std::array<double, kSummaryAmounts> SummaryAmounts(const Session& s, int n, const AccountsPeriod& period,
                                                   const Stats_Rec& st) {
  const AgentFigures a = AgentFiguresOf(s, n, period, st);
  const MonthStats& k = st.month[static_cast<size_t>(period.month - 1)];
  return {k.totalIncome, st.totalExpenditure, st.netIncome, a.bookingFees, a.mgtFee,
          a.totalFees,   a.vat,               a.feesToDate, a.forecastFees};
}

class SummaryPage {
 public:
  SummaryPage(ReportPrinter& p, std::string title) : p_(p), title_(std::move(title)) {
    int x = p_.Mm(10);
    edges_[0] = x;
    for (int c = 0; c < kSummaryColumns; ++c) edges_[c + 1] = x += p_.Mm(kSummaryWidths[c]);
  }
  void Top() {
    p_.PrintTitle(title_);
    p_.y = p_.Mm(25);
    p_.canvas.SetFont({"Arial", 10, false});
    for (int c = 0; c < kSummaryColumns; ++c)
      p_.PrintCell(edges_[c], edges_[c + 1], p_.y, kSummaryHeadings[c], kHeadingGrey, 'C');
    p_.y += p_.rowHeight;
  }
  void Row(const std::array<std::string, kSummaryColumns>& cells, char nameAlignment) {
    p_.PrintCell(edges_[0], edges_[1], p_.y, cells[0], kWhite, nameAlignment);
    for (int c = 1; c < kSummaryColumns; ++c)
      p_.PrintCell(edges_[c], edges_[c + 1], p_.y, cells[static_cast<size_t>(c)], kWhite, 'C');
    p_.y += p_.rowHeight;
  }
  bool PastBottom() const { return p_.y > p_.canvas.PageHeight() - p_.Mm(20); }
  void Rule() { p_.PrintRule(edges_[0], edges_[kSummaryColumns], p_.y); }

 private:
  ReportPrinter& p_;
  std::string title_;
  int edges_[kSummaryColumns + 1] = {};
};

}  // namespace

bool PrintAgentSummary(ReportPrinter& printer, const Session& s, const AccountsPeriod& period,
                       const std::vector<int>& properties, const std::vector<Stats_Rec>& stats) {
  if (!printer.BeginPrintJob('L', "AGENT SUMMARY REPORT")) return false;
  SummaryPage page(printer, "Agent Summary Report for " + AccountsMonthText(period));
  page.Top();
  long long days = 0, complete = 0;
  std::array<double, kSummaryAmounts> totals{};
  for (size_t i = 0; i < properties.size(); ++i) {
    const int n = properties[i];
    const Prop_Rec& p = s.Prop(n);
    const Stats_Rec& st = stats[i];
    const std::array<double, kSummaryAmounts> amounts = SummaryAmounts(s, n, period, st);
    std::array<std::string, kSummaryColumns> cells;
    cells[0] = std::to_string(p.PropNo) + " " + p.PropName;
    cells[1] = std::to_string(st.daysBooked);
    cells[2] = std::to_string(st.daysComplete);
    for (int c = 0; c < kSummaryAmounts; ++c) {
      cells[static_cast<size_t>(c + 3)] = MoneyText(amounts[static_cast<size_t>(c)], p.CurrencySymbol());
      totals[static_cast<size_t>(c)] += amounts[static_cast<size_t>(c)];
    }
    days += st.daysBooked;
    complete += st.daysComplete;
    page.Row(cells, 'L');
    if (page.PastBottom()) {
      printer.NewPage();
      page.Top();
    }
  }
  const std::string prefix = s.NumProps() >= 1 ? s.Prop(1).CurrencySymbol() : std::string();
  std::array<std::string, kSummaryColumns> cells;
  cells[0] = "Totals ";
  cells[1] = std::to_string(days);
  cells[2] = std::to_string(complete);
  for (int c = 0; c < kSummaryAmounts; ++c)
    cells[static_cast<size_t>(c + 3)] = MoneyText(totals[static_cast<size_t>(c)], prefix);
  printer.canvas.SetFont({"Arial", 10, true});
  page.Row(cells, 'R');
  page.Rule();
  printer.EndPrintJob();
  return true;
}

namespace {

// A CSV field: quoted only when it holds what would split it, so that plain names and
// amounts stay as they always were.
std::string CsvField(std::string_view text) {
  return text.find_first_of(",\"\r\n") == std::string_view::npos ? std::string(text) : CsvQuoted(text);
}

}  // namespace

std::string AgentSummaryCsv(const Session& s, const AccountsPeriod& period, const std::vector<int>& properties,
                            const std::vector<Stats_Rec>& stats) {
  const std::vector<std::string> names = ExpenseCategoryNames(s);
  std::string out = "PROPERTY,Days Bkd,Days Cmp,Tot Income";
  for (const std::string& name : names) out += "," + CsvField(name);
  out += ",Tot Expense,Tot Expend,Net Income,Book.Fees,Mgmt.Fees,Tot Fees,VAT,Fees YTD,Fees F/C\r\n";
  // The totals of every column after the property's.
  std::vector<double> totals(2 + 1 + names.size() + 1 + 8, 0.0);
  for (size_t i = 0; i < properties.size(); ++i) {
    const int n = properties[i];
    const Prop_Rec& p = s.Prop(n);
    const Stats_Rec& st = stats[i];
    const std::array<double, kSummaryAmounts> a = SummaryAmounts(s, n, period, st);
    std::vector<double> values = {static_cast<double>(st.daysBooked), static_cast<double>(st.daysComplete), a[0]};
    for (size_t c = 0; c < names.size(); ++c) values.push_back(c < st.expenses.size() ? st.expenses[c] : 0);
    values.push_back(st.expensesTotal);
    values.insert(values.end(), a.begin() + 1, a.end());
    out += CsvField(std::to_string(p.PropNo) + " " + p.PropName) + ",";
    for (size_t c = 0; c < values.size(); ++c) {
      out += c < 2 ? std::to_string(static_cast<long long>(values[c])) : MoneyText(values[c]);
      out += ",";
      totals[c] += values[c];
    }
    out += "\r\n";
  }
  out += "Totals";
  for (size_t c = 0; c < totals.size(); ++c) out += "," + (c < 2 ? Format("%.2f", {totals[c]}, BritishFormatSettings()) : MoneyText(totals[c]));
  out += "\r\n";
  return out;
}

}  // namespace tb
