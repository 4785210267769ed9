#include "reports/MonthlyAccounts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Escape.h"
#include "platform/Format.h"
#include "reports/Expenses.h"
#include "store/BookingList.h"
#include "store/Session.h"

namespace tb {

std::string AccountsMonthText(const AccountsPeriod& period) {
  return FormatDateTime("mmmm yyyy", EncodeDate(period.year, period.month, 1));
}

bool MonthNotPast(const AccountsPeriod& period, TDateTime today) {
  const DateParts now = DecodeDate(today);
  return period.year > now.year || (period.year == now.year && period.month >= now.month);
}

namespace {

int Nights(const Book_Rec& b) { return static_cast<int>(std::lround(b.EndD - b.StartD)); }

// The month (0..11) of a date inside the year whose month starts are given, by
// comparing with them rather than decoding the date: the walk touches every booking.
int MonthIndex(const std::array<TDateTime, 13>& starts, TDateTime d) {
  return static_cast<int>(std::upper_bound(starts.begin() + 1, starts.end() - 1, d) - (starts.begin() + 1));
}

}  // namespace

void AccumulateBookings(const Session& s, int n, const AccountsPeriod& period, Stats_Rec& st,
                        std::vector<std::string>& unpaid) {
  const Prop_Rec& p = s.Prop(n);
  const int J = period.year, K = period.month;
  std::array<TDateTime, 13> starts{};
  for (int m = 0; m < 12; ++m) starts[static_cast<size_t>(m)] = EncodeDate(J, m + 1, 1);
  starts[12] = EncodeDate(J + 1, 1, 1);
  const TDateTime nextEnd = EncodeDate(J + 2, 1, 1);
  const TDateTime today = s.clock.Today();
  const auto inYear = [&](TDateTime d) { return d >= starts[0] && d < starts[12]; };
  for (const Book_Buffer* node = p.Bookings.First(); node; node = node->Next) {
    const Book_Rec& b = node->Rec;
    if (inYear(b.EndD) && b.Status != Reserved) {
      const int m = MonthIndex(starts, b.EndD);
      if (!period.forecast && m < K && b.Status < RepayDeposit) {
        unpaid.push_back("Booking not paid up. Property=" + p.PropName + " Name=" + b.Surname.str() +
                         "  Start date=" + ShortDateText(b.StartD));
        continue;
      }
      MonthStats& ms = st.month[static_cast<size_t>(m)];
      double fee = 0;
      if (p.BookFeeChg) {
        fee = b.Money(p.BookFeeChg);
        if (b.Status == Cancelled && fee > b.Total) fee = b.Total;
      }
      ms.bookingFees += fee;
      if (b.Status == Cancelled) {
        ms.cancellation += b.Total - fee;
      } else {
        ms.days += Nights(b);
        ms.rent += b.Rent;
        ms.charges[0] += b.Chg1;
        ms.charges[1] += b.Chg2;
        ms.charges[2] += b.Chg3;
      }
    }
    // The status first: it shares the booking's first cache line, the date does not.
    if (p.RetDepChg && b.Status == Complete && inYear(b.DateR))
      st.month[static_cast<size_t>(MonthIndex(starts, b.DateR))].retained += b.Money(p.RetDepChg);
    if (b.EndD >= starts[12] && b.EndD < nextEnd && b.Status != Reserved && b.Status != Cancelled) {
      const int nights = Nights(b);
      st.nextDays += nights;
      if (today > b.EndD) st.nextDaysComplete += nights;
      double amount = b.Total;
      if (p.BookFeeChg) amount -= b.Money(p.BookFeeChg);
      if (p.RetDepChg) amount -= b.Money(p.RetDepChg);
      st.nextIncome += amount;
      if (today < b.EndD) st.nextIncomeToCome += amount;
    }
  }
}

void AddExpenses(Session& s, int n, const AccountsPeriod& period, Stats_Rec& st) {
  const int cats = s.common.NExpCats;
  st.expenses.assign(static_cast<size_t>(std::max(cats, 0)), 0.0);
  if (cats < 1) return;
  const ExpenseLoad load = ReadExpenses(s, n);
  const Expense& e = load.ledger;
  // A ledger that could not be read counts as empty (the reader has said why); a year
  // it does not hold, before or after, has no expenses.
  if (load.failed || period.year < e.FirstYear || period.year > e.LastYear()) return;
  const int y = period.year - e.FirstYear;
  const int stored = std::min(cats, static_cast<int>(e.NCats));
  for (int c = 0; c < stored; ++c) {
    const double v = e.At(y, c, period.month - 1);
    st.expenses[static_cast<size_t>(c)] = v;
    st.expensesTotal += v;
    for (int m = 0; m < period.month; ++m) st.expensesToDate += e.At(y, c, m);
  }
}

std::vector<int> CountedCharges(const Session& s, int n) {
  const Prop_Rec& p = s.Prop(n);
  std::vector<int> counted;
  for (int c = 1; c <= std::min<int>(p.ChargeCount, 3); ++c)
    if (c != p.RetDepChg && c != p.BookFeeChg) counted.push_back(c);
  return counted;
}

double CountedChargesOf(const std::vector<int>& counted, const MonthStats& m) {
  double sum = 0;
  for (const int c : counted) sum += m.charges[static_cast<size_t>(c - 1)];
  return sum;
}

void CompleteStats(const Session& s, int n, const AccountsPeriod& period, Stats_Rec& st) {
  const Prop_Rec& p = s.Prop(n);
  const double tax = s.common.Tax;
  const std::vector<int> charges = CountedCharges(s, n);  // once, not for every month
  for (int i = 0; i < 12; ++i) {
    MonthStats& m = st.month[static_cast<size_t>(i)];
    const double counted = CountedChargesOf(charges, m);
    const double earned = m.rent + m.cancellation + counted;
    m.totalIncome = earned + m.retained;
    const double feeBase = m.rent + m.cancellation + (p.FRentOnly ? 0 : counted);
    m.mgtFee = feeBase * p.MgtFee / 100;
    m.vat = m.mgtFee * tax / 100;
    st.daysBooked += m.days;
    if (i + 1 > period.month) {
      st.forecastIncome += earned;
      st.forecastFeeBase += feeBase;
      st.forecastBookingFees += m.bookingFees;
    } else {
      st.daysComplete += m.days;
      st.receivedToDate += earned;
      st.feeBaseToDate += feeBase;
      st.retainedToDate += m.retained;
      st.bookingFeesToDate += m.bookingFees;
    }
  }
  const MonthStats& k = st.month[static_cast<size_t>(period.month - 1)];
  st.mgtFeesToDate = st.feeBaseToDate * p.MgtFee / 100;
  st.netIncomeToDate =
      st.receivedToDate + st.retainedToDate - (tax / 100 + 1) * st.mgtFeesToDate - st.expensesToDate;
  st.totalExpenditure = st.expensesTotal + k.mgtFee + k.vat;
  st.netIncome = k.totalIncome - st.totalExpenditure;
  st.forecastFees = st.forecastBookingFees * 100 / (tax + 100) + st.forecastFeeBase * p.MgtFee / 100;
}

Stats_Rec PropertyStats(Session& s, int n, const AccountsPeriod& period, std::vector<std::string>& unpaid) {
  Stats_Rec st;
  AccumulateBookings(s, n, period, st, unpaid);
  AddExpenses(s, n, period, st);
  CompleteStats(s, n, period, st);
  return st;
}

AgentFigures AgentFiguresOf(const Session& s, int n, const AccountsPeriod& period, const Stats_Rec& st) {
  const double tax = s.common.Tax;
  const MonthStats& k = st.month[static_cast<size_t>(period.month - 1)];
  AgentFigures a;
  a.bookingFees = k.bookingFees * 100 / (tax + 100);
  a.mgtFee = k.mgtFee;
  a.totalFees = a.bookingFees + a.mgtFee;
  a.vat = a.totalFees * tax / 100;
  a.feesToDate = st.bookingFeesToDate * 100 / (tax + 100) + st.feeBaseToDate * s.Prop(n).MgtFee / 100;
  a.forecastFees = st.forecastFees;
  return a;
}

std::string FeeNote(const Session& s, int n) {
  const Prop_Rec& p = s.Prop(n);
  return "The management fee is " + ExpenseAmountText(p.MgtFee) + "% of the " +
         (p.FRentOnly ? "rent plus any cancellation charges." : "total payments, less any retained damage deposits.");
}

namespace {

// An amount in an HTML e-mail: the currency symbol, the pound sign as its entity.
std::string MailMoney(const Prop_Rec& p, double v) {
  const std::string prefix = p.CS == '\xA3' ? std::string("&pound;") : HtmlEscape(p.CurrencySymbol());
  return prefix + Format("%.2f", {v});
}

}  // namespace

std::vector<AccountField> AccountFields(const Session& s, int n, const AccountsPeriod& period, const Stats_Rec& st,
                                        const std::string& ownerName) {
  const Prop_Rec& p = s.Prop(n);
  const MonthStats& k = st.month[static_cast<size_t>(period.month - 1)];
  const auto money = [&](double v) { return MailMoney(p, v); };
  std::vector<AccountField> f;
  f.push_back({"<-Prop->", HtmlEscape(p.PropName)});
  f.push_back({"<-Month->", HtmlEscape(AccountsMonthText(period))});
  f.push_back({"<-Owner->", HtmlEscape(ownerName)});
  f.push_back({"<-Rent->", money(k.rent)});
  for (int c = 1; c <= 3; ++c) {
    const std::string no = std::to_string(c);
    f.push_back({"<-ECN" + no + "->", HtmlEscape(p.ExtChg[static_cast<size_t>(c)])});
    f.push_back({"<-ECh" + no + "->", money(k.charges[static_cast<size_t>(c - 1)]),
                 c > p.ChargeCount || c == p.RetDepChg || c == p.BookFeeChg});
  }
  f.push_back({"<-ECN4->", ""});
  f.push_back({"<-ECh4->", ""});
  f.push_back({"<-RetD->", money(k.retained), k.retained == 0});
  f.push_back({"<-CanC->", money(k.cancellation), k.cancellation == 0});
  f.push_back({"<-TotI->", money(k.totalIncome)});
  f.push_back({"<-MFee->", money(k.mgtFee)});
  f.push_back({"<-MVAT->", money(k.vat)});
  // Six categories have fields in every proforma; any further ones get theirs too,
  // so that a proforma can show every category the settings have.
  const std::vector<std::string> names = ExpenseCategoryNames(s);
  const int fields = std::max(6, static_cast<int>(names.size()));
  for (int c = 0; c < fields; ++c) {
    const std::string no = std::to_string(c + 1);
    const bool exists = c < static_cast<int>(names.size()) && c < static_cast<int>(st.expenses.size());
    const double v = exists ? st.expenses[static_cast<size_t>(c)] : 0;
    f.push_back({"<-ExN" + no + "->", exists ? HtmlEscape(names[static_cast<size_t>(c)]) : ""});
    f.push_back({"<-Exp" + no + "->", exists ? money(v) : "", !(exists && v > 0)});
  }
  f.push_back({"<-TotE->", money(st.totalExpenditure)});
  f.push_back({"<-NetI->", money(st.netIncome)});
  f.push_back({"<-TotPdYTD->", money(st.receivedToDate)});
  f.push_back({"<-RetYTD->", money(st.retainedToDate)});
  f.push_back({"<-MFeesYTD->", money(st.mgtFeesToDate * (s.common.Tax / 100 + 1))});
  f.push_back({"<-TotEYTD->", money(st.expensesToDate)});
  f.push_back({"<-NetIYTD->", money(st.netIncomeToDate)});
  f.push_back({"<-TDay->", std::to_string(st.daysBooked)});
  f.push_back({"<-TDCC->", std::to_string(st.daysComplete)});
  f.push_back({"<-FCIn->", money(st.forecastIncome)});
  f.push_back({"<-TDNY->", std::to_string(st.nextDays)});
  f.push_back({"<-FCNY->", money(st.nextIncome)});
  f.push_back({"<-Yr->", std::to_string(period.year)});
  f.push_back({"<-FeeNote->", HtmlEscape(FeeNote(s, n))});
  return f;
}

std::string MergeAccount(const std::string& proforma, const std::vector<AccountField>& fields) {
  std::string out;
  out.reserve(proforma.size() + proforma.size() / 4);
  std::string line;
  size_t start = 0;
  while (start < proforma.size()) {
    size_t end = proforma.find('\n', start);
    end = end == std::string::npos ? proforma.size() : end + 1;
    const std::string_view text(proforma.data() + start, end - start);
    start = end;
    line.clear();
    bool omit = false;
    size_t p = 0;
    while (p < text.size()) {
      const size_t at = text.find("<-", p);
      if (at == std::string_view::npos) {
        line.append(text.substr(p));
        break;
      }
      line.append(text.substr(p, at - p));
      // A field is "<-" + name + "->"; anything else is copied as it stands.
      const size_t close = text.find("->", at + 2);
      const AccountField* field = nullptr;
      if (close != std::string_view::npos) {
        const std::string_view name = text.substr(at, close + 2 - at);
        for (const AccountField& f : fields)
          if (f.name == name) {
            field = &f;
            break;
          }
      }
      if (!field) {
        line += '<';
        p = at + 1;
        continue;
      }
      if (field->omit) {
        omit = true;
        break;
      }
      line += field->value;
      p = close + 2;
    }
    if (!omit) out += line;
  }
  return out;
}

}  // namespace tb
