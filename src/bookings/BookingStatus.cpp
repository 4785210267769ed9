#include "bookings/BookingStatus.h"

#include <cmath>

namespace tb {

namespace {

constexpr const char* kOverdue = " **Overdue**";

bool IsWaitlisted(const Book_Rec& b) { return b.Status == Reserved && !IsPersonalName(b.Surname); }

// Callers may pass "now"; every rule here counts whole days.
TDateTime DayOf(TDateTime t) { return std::floor(t); }

}  // namespace

bool IsPersonalName(const std::string& surname) {
  // Trimmed as text fields are: every control character and space counts as blank.
  size_t first = 0;
  while (first < surname.size() && static_cast<unsigned char>(surname[first]) <= ' ') ++first;
  if (first == surname.size()) return true;
  const char c = surname[first];
  const bool digit = c >= '0' && c <= '9';
  const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return !digit && !letter;
}

TDateTime DepositDueDate(const Book_Rec& b, const Prop_Rec& p) { return b.DateB + p.DepDue; }
TDateTime BalanceDueDate(const Book_Rec& b, const Prop_Rec& p) { return b.StartD - 7.0 * p.BalDue; }
TDateTime WaitlistExpiry(const Book_Rec& b, const Prop_Rec& p) { return b.StartD - 7.0 * p.Wait; }

int EffectiveStatus(const Book_Rec& b, const Prop_Rec& p, TDateTime today) {
  today = DayOf(today);
  // Within the deposit's days of grace nothing can be overdue yet.
  if (today - b.DateB <= p.DepDue) return b.Status;
  if (IsWaitlisted(b)) {
    const double weeksToStart = std::trunc((b.StartD - today) / 7);
    return weeksToStart < p.Wait ? int{DepositOverdue} : int{b.Status};
  }
  if (b.Status == Hold && today > DepositDueDate(b, p)) return DepositOverdue;
  if ((b.Status == Hold || b.Status == DepositPaid) && today > BalanceDueDate(b, p)) return BalanceOverdue;
  return b.Status;
}

std::string DueText(const Book_Rec& b, const Prop_Rec& p, TDateTime today) {
  today = DayOf(today);
  const TDateTime depositDue = DepositDueDate(b, p);
  const TDateTime balanceDue = BalanceDueDate(b, p);
  const auto overdue = [](bool late) { return std::string(late ? kOverdue : ""); };
  switch (b.Status) {
    case Reserved: {
      if (IsPersonalName(b.Surname)) return "";
      const TDateTime expiry = WaitlistExpiry(b, p);
      return "Waitlist expires " + ShortDateText(expiry) + (today > expiry ? " **EXPIRED**" : "");
    }
    case Hold:
      // Too close to the start for a separate deposit: everything falls due at once.
      if (today > balanceDue || depositDue > balanceDue) {
        return "Full amount due " + ShortDateText(depositDue) + overdue(today > depositDue);
      }
      if (today > depositDue) return "Deposit due " + ShortDateText(depositDue) + kOverdue;
      return "Deposit due " + ShortDateText(depositDue) + " Balance due " + ShortDateText(balanceDue);
    case DepositPaid:
      return "Balance due " + ShortDateText(balanceDue) + overdue(today > balanceDue);
    default:
      return "";
  }
}

std::string NewBookingNotice(const Prop_Rec& p, TDateTime start, TDateTime today) {
  today = DayOf(today);
  const double balanceWeeksInDays = 7.0 * p.BalDue;
  if (balanceWeeksInDays >= start - today) return "Full Balance due";
  return "Deposit due " + ShortDateText(today + p.DepDue) + "  Balance due " +
         ShortDateText(start - balanceWeeksInDays);
}

}  // namespace tb
