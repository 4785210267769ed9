#include "reports/OverdueList.h"

#include <algorithm>
#include <cmath>

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
  // Each row's text once, not once per comparison.
  std::vector<std::pair<std::string, size_t>> keys;
  keys.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) keys.emplace_back(OverdueCellText(rows[i], column), i);
  std::stable_sort(keys.begin(), keys.end(), [this](const auto& a, const auto& b) {
    const int order = CompareText1252(a.first, b.first);
    return descending ? order > 0 : order < 0;
  });
  std::vector<OverdueRow> sorted;
  sorted.reserve(rows.size());
  for (const auto& key : keys) sorted.push_back(std::move(rows[key.second]));
  rows = std::move(sorted);
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
