#include "reports/IncomeReport.h"

#include <algorithm>
#include <cmath>

#include "platform/Escape.h"
#include "platform/Format.h"
#include "reports/ReportPrinter.h"
#include "store/BookRec.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

YearShare TaxYearShare(const Book_Rec& b, TDateTime yearStart, TDateTime yearEnd) {
  YearShare share;
  if (b.Status == Reserved || b.Total == 0 || b.StartD >= yearEnd) return share;
  const TDateTime stay = b.EndD - b.StartD;
  // A cancellation, or a booking with no nights to share by, is earned whole when it arrives.
  if (b.Status == Cancelled || !(stay > 0)) {
    if (b.StartD < yearStart) return share;
    share.counts = true;
    share.start = b.StartD;
    share.amount = b.Total;
    return share;
  }
  if (b.EndD < yearStart) return share;
  share.counts = true;
  share.start = std::max(b.StartD, yearStart);
  share.nights = static_cast<int16_t>(std::lround(std::min(b.EndD, yearEnd) - share.start));
  share.amount = share.nights * b.Total / stay;
  return share;
}

TDateTime DayInYear(int year, int month, int day) {
  return EncodeDate(year, month, std::min(day, DaysInMonth(year, month)));
}

bool TaxYearDay(const Session& s, int& day, int& month) {
  const std::string& t = s.common.TaxYr;
  if (t.size() != 4 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  const int m = std::stoi(t.substr(0, 2)), d = std::stoi(t.substr(2, 2));
  if (m < 1 || m > 12 || d < 1 || d > 31) return false;
  month = m;
  day = d;
  return true;
}

TDateTime TaxYearEnd(const Session& s, int year) {
  int day = 5, month = 4;
  TaxYearDay(s, day, month);
  return DayInYear(year, month, day);
}

YearShare TaxYearShareIn(const Session& s, const Book_Rec& b, int taxYear) {
  return TaxYearShare(b, TaxYearEnd(s, taxYear - 1), TaxYearEnd(s, taxYear));
}

std::string IncomeCsvName(const Session& s, int taxYear) {
  return "Cotlyn Income to " + FormatDateTime("yyyy-mm-dd", TaxYearEnd(s, taxYear) - 1) + ".csv";
}

namespace {

const char* const kCrLf = "\r\n";

std::string LetDate(TDateTime d) { return FormatDateTime("dd-mmm-yyyy", d); }

// The amount stands bare, as a spreadsheet reads a number, unless a locale's decimal
// comma would split it into two fields.
std::string Amount(const std::string& cs, double amount) {
  const std::string text = cs + Format("%.2f", {amount});
  return text.find_first_of(",\"") == std::string::npos ? text : CsvQuoted(text);
}

}  // namespace

std::string IncomeCsvText(const Session& s, int taxYear, const std::vector<int>& properties) {
  const std::string blank = CsvQuoted(" ") + kCrLf;
  std::string out;
  for (const int n : properties) {
    const Prop_Rec& p = s.Prop(n);
    out += CsvQuoted("Income Report for " + PropertyTitle(s, n)) + kCrLf + blank;
    out += "\"Start\",\"Name\",\"Nights\",\"Income\"";
    out += kCrLf;
    bool any = false;
    for (const Book_Buffer* node = p.Bookings.First(); node; node = node->Next) {
      const Book_Rec& b = node->Rec;
      const YearShare share = TaxYearShareIn(s, b, taxYear);
      if (!share.counts) continue;
      any = true;
      out += LetDate(share.start) + "," + CsvQuoted(b.Surname.view()) + "," + std::to_string(share.nights) + "," +
             Amount(p.CurrencySymbol(), share.amount) + "," +
             CsvQuoted(b.Status == Cancelled ? "Cancellation charge" : "") + kCrLf;
    }
    if (!any) out += CsvQuoted("No bookings found in specified tax year") + kCrLf;
    out += blank + blank + kCrLf;
  }
  return out;
}

namespace {

constexpr double kIncomeLeft = 34;
constexpr double kIncomeWidths[] = {50, 42, 12, 28};
constexpr const char* kIncomeHeadings[] = {"From - To", "Name", "Days", "Income"};
constexpr int kIncomeColumns = 4;
constexpr Rgb kHeadingGrey{224, 224, 224};

class IncomePrinter {
 public:
  IncomePrinter(ReportPrinter& p, const Session& s, int taxYear) : p_(p), s_(s), taxYear_(taxYear) {
    int x = p_.Mm(kIncomeLeft);
    edges_[0] = x;
    for (int c = 0; c < kIncomeColumns; ++c) edges_[c + 1] = x += p_.Mm(kIncomeWidths[c]);
  }

  void Property(int n) {
    const Prop_Rec& prop = s_.Prop(n);
    const std::string cs = prop.CurrencySymbol();
    title_ = PropertyTitle(s_, n) + ".      Income for Tax Year " + std::to_string(taxYear_ - 1) + "-" +
             std::to_string(taxYear_);
    Heads();
    double total = 0;
    long nights = 0;
    for (const Book_Buffer* node = prop.Bookings.First(); node; node = node->Next) {
      const YearShare share = TaxYearShareIn(s_, node->Rec, taxYear_);
      if (!share.counts) continue;
      if (p_.y + p_.rowHeight > Bottom()) {
        p_.PrintRule(edges_[0], edges_[kIncomeColumns], p_.y);
        p_.NewPage();
        Heads();
      }
      p_.PrintCell(edges_[0], edges_[1], p_.y,
                   LetDate(share.start) + " - " + LetDate(share.start + share.nights), kWhite, 'L');
      p_.PrintCell(edges_[1], edges_[2], p_.y, node->Rec.Surname.str(), kWhite, 'L');
      p_.PrintCell(edges_[2], edges_[3], p_.y, std::to_string(share.nights), kWhite, 'C');
      p_.PrintCell(edges_[3], edges_[4], p_.y, cs + Format("%n", {share.amount}), kWhite, 'R');
      p_.y += p_.rowHeight;
      total += share.amount;
      nights += share.nights;
    }
    p_.PrintRule(edges_[0], edges_[kIncomeColumns], p_.y);
    // The totals go under the last let, on a page of their own when it is full.
    if (p_.y + p_.Mm(10) + p_.rowHeight > Bottom()) {
      p_.NewPage();
      p_.PrintTitle(title_);
      p_.y = p_.Mm(20);
    }
    p_.canvas.SetFont({"Arial", 10, true});
    p_.PrintCell(edges_[0], edges_[kIncomeColumns], p_.y + p_.Mm(10),
                 "Total Income = " + cs + Format("%n", {total}) + "      Total days let = " + std::to_string(nights),
                 kWhite, 'C');
    p_.canvas.SetFont({"Arial", 10, false});
  }

 private:
  int Bottom() const { return static_cast<int>(std::trunc(p_.canvas.PageHeight() - 20 * p_.ppmm)); }

  void Heads() {
    p_.PrintTitle(title_);
    p_.y = p_.Mm(20);
    p_.canvas.SetFont({"Arial", 10, true});
    p_.PrintRule(edges_[0], edges_[kIncomeColumns], p_.y);
    for (int c = 0; c < kIncomeColumns; ++c)
      p_.PrintCell(edges_[c], edges_[c + 1], p_.y, kIncomeHeadings[c], kHeadingGrey, 'C');
    p_.y += p_.rowHeight;
    p_.PrintRule(edges_[0], edges_[kIncomeColumns], p_.y);
    p_.canvas.SetFont({"Arial", 10, false});
  }

  ReportPrinter& p_;
  const Session& s_;
  const int taxYear_;
  std::string title_;
  int edges_[kIncomeColumns + 1] = {};
};

}  // namespace

bool PrintIncomeStatement(ReportPrinter& printer, Session& s, int taxYear, const std::vector<int>& properties) {
  if (!printer.BeginPrintJob('P', "Cotlyn Income Report")) return false;
  IncomePrinter income(printer, s, taxYear);
  bool first = true;
  for (const int n : properties) {
    if (!first) printer.NewPage();
    first = false;
    income.Property(n);
    s.dialogs.Beep();
  }
  printer.EndPrintJob();
  return true;
}

}  // namespace tb
