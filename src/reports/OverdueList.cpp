#include "reports/OverdueList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "bookings/BookingStatus.h"
#include "platform/Cp1252.h"
#include "reports/BookingReports.h"
#include "store/BookingList.h"
#include "store/Session.h"

namespace tb {

namespace {

// The whole part of a number of days, kept to a range any date difference fits in, so
// that a damaged date can never overflow the conversion.
long long WholeDays(double days) {
  if (!(days > -1e9)) return -1000000000;
  if (days > 1e9) return 1000000000;
  return static_cast<long long>(std::trunc(days));
}

std::string DaysOverdue(const char* what, long long days) {
  return what + std::to_string(days) + " days overdue";
}

}  // namespace

std::string OverdueReason(const Book_Rec& b, const Prop_Rec& p, TDateTime today) {
  today = std::floor(today);
  // Within the deposit's days of grace nothing is late yet.
  if (b.Status <= Hold && today - b.DateB <= p.DepDue) return "";
  if (b.Status == Reserved && !IsPersonalName(b.Surname.str())) {
    return WholeDays((b.StartD - today) / 7) < p.Wait ? "WAITLIST EXPIRED" : "";
  }
  if (b.Status == Hold || b.Status == DepositPaid) {
    const long long depositDays = WholeDays(today - DepositDueDate(b, p));
    const long long balanceDays = WholeDays(today - BalanceDueDate(b, p));
    // A hold past its balance date owes everything, counted from when the deposit was due.
    if (b.Status == Hold && balanceDays > 0) return DaysOverdue("Full payment ", depositDays);
    if (b.Status == Hold && depositDays > 0) return DaysOverdue("Deposit ", depositDays);
    if (balanceDays > 0) return DaysOverdue("Balance ", balanceDays);
  }
  if (b.Status == RepayDeposit) return "Repay deposit";
  if (b.Status == Cancelled && b.Deposit + b.Balance > 1 && b.DateR <= kNotPaid) return "Cancelled but not refunded";
  if (b.Status == DepositPaid && !(b.Flag & DepAck)) return "Deposit not acknowledged";
  if (b.Status == Paid && !(b.Flag & BalAck)) return "Balance not acknowledged, send joining details?";
  return "";
}

const char* OverdueHeading(OverdueColumn c) {
  static const char* const kHeadings[kOverdueColumns] = {" ",       "Property",   "Rec",    "Let starts",
                                                         "Surname", "First Name", "Comment"};
  return kHeadings[static_cast<int>(c)];
}

std::string OverdueCellText(const OverdueRow& r, OverdueColumn c) {
  switch (c) {
    case OverdueColumn::Prop: return std::to_string(r.prop);
    case OverdueColumn::Property: return r.propName;
    case OverdueColumn::Rec: return std::to_string(r.rec);
    case OverdueColumn::LetStarts: return SortableDateText(r.start);
    case OverdueColumn::Surname: return r.surname;
    case OverdueColumn::FirstName: return r.firstName;
    case OverdueColumn::Comment: return r.reason;
  }
  return "";
}

std::vector<int> OverdueProperties(const Session& s) {
  const bool onRuza = s.CurrentProperty >= 1 && s.CurrentProperty <= s.NumProps() &&
                      s.Prop(s.CurrentProperty).PropName == "Ruza Rorazed";
  std::vector<int> properties;
  for (int n = 1; n <= s.NumProps(); ++n)
    if (onRuza || s.Prop(n).PropName != "Ruza Rorazed") properties.push_back(n);
  return properties;
}

std::vector<OverdueRow> OverdueRows(const Session& s, const std::vector<int>& properties, TDateTime today) {
  std::vector<OverdueRow> rows;
  for (const int n : properties) {
    const Prop_Rec& p = s.Prop(n);
    int position = 0;
    for (Book_Buffer* b = p.Bookings.First(); b; b = b->Next) {
      ++position;
      std::string reason = OverdueReason(b->Rec, p, today);
      if (reason.empty()) continue;
      rows.push_back({n, p.PropName, position, b->Rec.StartD, b->Rec.Surname.str(), b->Rec.Fnames.str(),
                      std::move(reason), b});
    }
  }
  return rows;
}

bool OverdueList::Build(Session& s) {
  const std::vector<int> properties = OverdueProperties(s);
  const bool read = ReadReportBookings(s, properties);
  rows = OverdueRows(s, properties, s.clock.Today());
  Sort();
  return read;
}

void OverdueList::SortBy(OverdueColumn column) {
  const int c = static_cast<int>(column);
  descending = c == sortColumn ? !descending : false;
  sortColumn = c;
  Sort();
}

void OverdueList::Sort() {
  if (sortColumn < 0 || sortColumn >= kOverdueColumns) return;
  const auto column = static_cast<OverdueColumn>(sortColumn);
  // Numbers and dates are compared as the texts shown; the other columns are texts
  // already and are compared where they are, without copies.
  const bool made = column == OverdueColumn::Prop || column == OverdueColumn::Rec || column == OverdueColumn::LetStarts;
  std::vector<std::string> madeTexts;
  if (made) {
    madeTexts.reserve(rows.size());
    for (const OverdueRow& r : rows) madeTexts.push_back(OverdueCellText(r, column));
  }
  const auto text = [&](uint32_t i) -> std::string_view {
    if (made) return madeTexts[i];
    const OverdueRow& r = rows[i];
    return column == OverdueColumn::Property ? r.propName
           : column == OverdueColumn::Surname ? r.surname
           : column == OverdueColumn::FirstName ? r.firstName
                                                : r.reason;
  };
  std::vector<uint32_t> order(rows.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int c = CompareText1252(text(a), text(b));
    return descending ? c > 0 : c < 0;
  });
  // The rows put in that order where they are: each cycle of the order followed once.
  for (uint32_t i = 0; i < order.size(); ++i) {
    uint32_t from = order[i];
    if (from == i) continue;
    OverdueRow held = std::move(rows[i]);
    uint32_t at = i;
    while (from != i) {
      rows[at] = std::move(rows[from]);
      order[at] = at;
      at = from;
      from = order[at];
    }
    rows[at] = std::move(held);
    order[at] = at;
  }
}

int OverdueList::Find(const OverdueRow& like) const {
  for (size_t i = 0; i < rows.size(); ++i) {
    const OverdueRow& r = rows[i];
    if (r.prop == like.prop && std::floor(r.start) == std::floor(like.start) && r.surname == like.surname)
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace tb
