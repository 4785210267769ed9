#include "reports/Payments.h"

#include <algorithm>
#include <cmath>

#include "bookings/BookingStatus.h"
#include "platform/Cp1252.h"
#include "platform/Format.h"
#include "platform/Text.h"
#include "store/BookingFile.h"
#include "store/Session.h"

namespace tb {

namespace {

int64_t Cents(double amount) { return std::llround(amount * 100); }

// Collects one booking's entries, each kept only when it has an amount and falls in
// the dates.
class EntrySink {
 public:
  EntrySink(const Book_Rec& b, const Prop_Rec& p, int propNo, const PaymentOptions& o, std::vector<PaymentRow>& rows)
      : b_(b), p_(p), propNo_(propNo), o_(o), rows_(rows) {}

  void Add(PaymentKind kind, double amount, TDateTime date) {
    // The whole day is in range exactly when the date is: start and end are whole days.
    if (date < o_.start || date >= o_.end + 1) return;
    const int64_t cents = Cents(amount);
    if (cents == 0) return;
    const TDateTime day = std::floor(date);
    PaymentRow& r = rows_.emplace_back();
    r.date = day;
    r.prop = propNo_;
    r.Surname = b_.Surname.str();
    r.arrival = std::floor(b_.StartD);
    r.Days = static_cast<int>(std::lround(b_.EndD - b_.StartD));
    r.cents = cents;
    r.currency = p_.CS;
    r.kind = kind;
  }

 private:
  const Book_Rec& b_;
  const Prop_Rec& p_;
  const int propNo_;
  const PaymentOptions& o_;
  std::vector<PaymentRow>& rows_;
};

// What is still expected of a booking not yet settled.
void AddPredicted(const Book_Rec& b, const Prop_Rec& p, TDateTime today, EntrySink& add) {
  if (b.Status == Hold || b.Status == DepositPaid) {
    const TDateTime balanceDue = BalanceDueDate(b, p);
    if (b.Status == Hold && today >= balanceDue) {
      // Too late for a deposit: everything is due at once, listed once.
      add.Add(PaymentKind::TotalDue, b.Total, today);
    } else {
      if (b.Status == Hold) {
        const TDateTime depositDue = DepositDueDate(b, p);
        if (today > depositDue) add.Add(PaymentKind::DepositOverdue, b.Deposit, today);
        else add.Add(PaymentKind::DepositDue, b.Deposit, depositDue);
      }
      if (today > balanceDue) add.Add(PaymentKind::BalanceOverdue, b.Balance, today);
      else add.Add(PaymentKind::BalanceDue, b.Balance, balanceDue);
    }
  }
  if (p.RetDepChg > 0 && b.Status != Cancelled && b.Status != Complete && b.Money(p.RetDepChg) > 0)
    add.Add(PaymentKind::DamageRefundDue, -b.Money(p.RetDepChg), std::max(std::floor(b.EndD), today));
}

// Date order, equal dates in the order made. The keys are sorted and the rows then
// moved into place along the permutation's cycles: each row moves about once and no
// second list of rows is made (years of an agency are hundreds of thousands).
void OrderByDate(std::vector<PaymentRow>& rows) {
  std::vector<std::pair<TDateTime, uint32_t>> order(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) order[i] = {rows[i].date, static_cast<uint32_t>(i)};
  std::sort(order.begin(), order.end());
  for (size_t k = 0; k < order.size(); ++k) {
    if (order[k].second == k) continue;
    // Position k takes the row from order[k].second, which takes its own, and so on
    // round to k.
    PaymentRow first = std::move(rows[k]);
    size_t j = k;
    while (order[j].second != k) {
      const size_t from = order[j].second;
      rows[j] = std::move(rows[from]);
      order[j].second = static_cast<uint32_t>(j);
      j = from;
    }
    rows[j] = std::move(first);
    order[j].second = static_cast<uint32_t>(j);
  }
}

// Type and comment by PaymentKind.
const char* const kKindTexts[][2] = {
    {"Total", "Total due"},      {"Deposit", "OverDue"},       {"Deposit", "Due"},
    {"Balance", "Overdue"},      {"Balance", "Due"},           {"Refund", "Ret Dep(due)"},
    {"Deposit", "Cancellation"}, {"Balance", "Cancellation"},  {"Refund", "Cancellation"},
    {"Refund?", "Cancellation"}, {"Deposit", ""},              {"Balance", ""},
    {"Refund", "Ret Dep"},
};

const char* const kHeadings[kPaymentColumns] = {"  Date", "Prop", "Surname", "Let starts", "Days",
                                                "Amount", "Type", "Comment", "Sub-Totals"};

}  // namespace

const char* PaymentRow::Type() const { return kKindTexts[static_cast<int>(kind)][0]; }
const char* PaymentRow::Comment() const { return kKindTexts[static_cast<int>(kind)][1]; }
std::string PaymentRow::DateText() const { return SortableDateText(date); }
std::string PaymentRow::LetStartsText() const { return SortableDateText(arrival); }
std::string PaymentRow::AmountText() const {
  return MoneyText(static_cast<double>(cents) / 100, currency ? std::string_view(&currency, 1) : std::string_view());
}
std::string PaymentRow::SubTotalText() const {
  return hasSubTotal ? Format("%m", {static_cast<double>(subTotalCents) / 100}) : std::string();
}

void AddPaymentEntries(const Book_Rec& b, const Prop_Rec& p, int propNo, TDateTime today, const PaymentOptions& o,
                       std::vector<PaymentRow>& rows) {
  if (b.Status == Reserved) return;
  EntrySink add(b, p, propNo, o, rows);
  if (!o.omitFuture) AddPredicted(b, p, today, add);
  const bool refunded = b.DateR > kNotPaid;
  if (b.Status == Cancelled) {
    if (o.omitComplete && refunded) return;
    add.Add(PaymentKind::CancelledDeposit, b.Deposit, b.DateD);
    add.Add(PaymentKind::CancelledBalance, b.Balance, b.DateP);
    if (refunded) add.Add(PaymentKind::CancelledRefund, -b.Refund, b.DateR);
    else if (!o.omitFuture) add.Add(PaymentKind::CancelledRefundDue, -b.Total, b.EndD);
    return;
  }
  if (o.omitComplete && b.Status == Complete) return;
  if (b.Status > Hold) add.Add(PaymentKind::Deposit, b.Deposit, b.DateD);
  if (b.Status > DepositPaid) add.Add(PaymentKind::Balance, b.Balance, b.DateP);
  if (b.Status == Complete && p.RetDepChg > 0) add.Add(PaymentKind::DamageRefund, -b.Refund, b.DateR);
}

std::vector<PaymentRow> PaymentRows(Session& s, const PaymentOptions& o) {
  std::vector<int> props;
  for (const int n : o.properties)
    if (n >= 1 && n <= s.NumProps()) props.push_back(n);
  std::sort(props.begin(), props.end());
  props.erase(std::unique(props.begin(), props.end()), props.end());

  const TDateTime today = s.clock.Today();
  size_t bookings = 0;
  for (const int n : props) {
    Prop_Rec& p = s.Prop(n);
    // "M" keeps every list current and "C" the current property's; another is read
    // here. Never over changes a failed save left in the list: they would be lost.
    const bool held = s.common.AllPropertiesView() || n == s.CurrentProperty;
    if ((!held || p.BookFileAge == 0) && !p.ListModified) ReadBookings(s, n, false, false);
    bookings += static_cast<size_t>(p.Bookings.Count());
  }
  // A booking gives three entries at the most. Room for them all up front: the list
  // never moves while it grows, and the pages of what is not used are never touched.
  std::vector<PaymentRow> rows;
  rows.reserve(3 * bookings);
  for (const int n : props) {
    const Prop_Rec& p = s.Prop(n);
    for (const Book_Buffer* node = p.Bookings.First(); node; node = node->Next)
      AddPaymentEntries(node->Rec, p, n, today, o, rows);
  }
  OrderByDate(rows);
  SubTotalPayments(rows);
  return rows;
}

int64_t SubTotalPayments(std::vector<PaymentRow>& rows) {
  int64_t total = 0, sum = 0;
  // Month and year: a gap of a whole year must not join two Januaries.
  const auto month = [](const PaymentRow& r) {
    const DateParts d = DecodeDate(r.date);
    return d.year * 12 + d.month;
  };
  int remembered = rows.empty() ? 0 : month(rows.front());
  for (size_t i = 0; i < rows.size(); ++i) {
    PaymentRow& r = rows[i];
    r.hasSubTotal = false;
    const int m = month(r);
    if (m != remembered) {
      if (sum > 0) {
        rows[i - 1].hasSubTotal = true;
        rows[i - 1].subTotalCents = sum;
        total += sum;
        sum = 0;
      }
      // Also when the sum carries on, so that it ends with this month, not in its middle.
      remembered = m;
    }
    sum += r.cents;
  }
  if (!rows.empty()) {
    rows.back().hasSubTotal = true;
    rows.back().subTotalCents = sum;
  }
  return total + sum;
}

std::string PaymentsFoundText(int properties, int rows) {
  return Format("%d properties scanned, %d payments found", {properties, rows});
}

std::string PaymentsTotalText(int64_t totalCents) {
  return Format("Total payments = %m", {static_cast<double>(totalCents) / 100});
}

const char* PaymentHeading(PaymentColumn c) { return kHeadings[static_cast<int>(c)]; }

std::string PaymentCellText(const PaymentRow& r, PaymentColumn c) {
  switch (c) {
    case PaymentColumn::Date: return r.DateText();
    case PaymentColumn::Prop: return std::to_string(r.prop);
    case PaymentColumn::Surname: return r.Surname;
    case PaymentColumn::LetStarts: return r.LetStartsText();
    case PaymentColumn::Days: return std::to_string(r.Days);
    case PaymentColumn::Amount: return r.AmountText();
    case PaymentColumn::Type: return r.Type();
    case PaymentColumn::Comment: return r.Comment();
    case PaymentColumn::SubTotals: return r.SubTotalText();
  }
  return {};
}

void SortPaymentRows(std::vector<PaymentRow>& rows, PaymentColumn column, bool descending) {
  // Numbers and dates by value: as text "10" would come before "9".
  const auto key = [column](const PaymentRow& r) -> double {
    switch (column) {
      case PaymentColumn::Date: return r.date;
      case PaymentColumn::Prop: return r.prop;
      case PaymentColumn::LetStarts: return r.arrival;
      case PaymentColumn::Days: return r.Days;
      case PaymentColumn::Amount: return static_cast<double>(r.cents);
      // Rows without a sub-total before every amount.
      case PaymentColumn::SubTotals: return r.hasSubTotal ? static_cast<double>(r.subTotalCents) : -HUGE_VAL;
      default: return 0;
    }
  };
  const auto text = [column](const PaymentRow& r) -> std::string_view {
    switch (column) {
      case PaymentColumn::Surname: return r.Surname;
      case PaymentColumn::Type: return r.Type();
      default: return r.Comment();
    }
  };
  const bool byText = column == PaymentColumn::Surname || column == PaymentColumn::Type ||
                      column == PaymentColumn::Comment;
  std::stable_sort(rows.begin(), rows.end(), [&](const PaymentRow& a, const PaymentRow& b) {
    const int c = byText ? CompareText1252(text(a), text(b)) : key(a) < key(b) ? -1 : key(a) > key(b) ? 1 : 0;
    return descending ? c > 0 : c < 0;
  });
}

}  // namespace tb
