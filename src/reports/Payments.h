#pragma once
// The payments list: for the chosen properties and dates, every payment received or
// paid out and, unless left out, those still expected, with monthly sub-totals.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "store/BookRec.h"
#include "store/PropRec.h"

namespace tb {

class Session;

struct PaymentOptions {
  std::vector<int> properties;  // property numbers
  TDateTime start = 0, end = 0; // inclusive, whole days
  bool omitFuture = false;      // leave out the payments still expected
  bool omitComplete = false;    // leave out completed bookings and settled cancellations
};

// What a line is: its type and comment.
enum class PaymentKind : uint8_t {
  TotalDue, DepositOverdue, DepositDue, BalanceOverdue, BalanceDue, DamageRefundDue,
  CancelledDeposit, CancelledBalance, CancelledRefund, CancelledRefundDue,
  Deposit, Balance, DamageRefund,
};

// One line of the list. Texts are made when shown: a list of years holds hundreds of
// thousands of rows, of which a window shows a few dozen.
struct PaymentRow {
  TDateTime date = 0;     // whole day
  int prop = 0;
  std::string Surname;
  TDateTime arrival = 0;  // whole day
  int Days = 0;           // nights
  int64_t cents = 0;      // the amount in hundredths, as shown
  int64_t subTotalCents = 0;
  PaymentKind kind = PaymentKind::Deposit;
  char currency = '\0';   // the property's currency symbol ('\0': none)
  bool hasSubTotal = false;

  const char* Type() const;     // "Deposit", "Balance", "Refund", ...
  const char* Comment() const;  // "Due", "Cancellation", "" ...

  std::string DateText() const;      // "yyyy/mm/dd"
  std::string LetStartsText() const; // "yyyy/mm/dd"
  std::string AmountText() const;    // with the property's currency symbol
  std::string SubTotalText() const;  // the locale's currency format, or ""
};

// The entries one booking gives on `today`, in the order they are listed, those outside
// the dates or of no amount left out. Reserved bookings give none.
void AddPaymentEntries(const Book_Rec& b, const Prop_Rec& p, int propNo, TDateTime today, const PaymentOptions& o,
                       std::vector<PaymentRow>& rows);

// Each property's bookings in list order (read first where the chart has not), the rows
// ordered by date (equal dates in list order) and sub-totalled. Unknown property
// numbers are skipped.
std::vector<PaymentRow> PaymentRows(Session& s, const PaymentOptions& o);

// Monthly sub-totals on rows in date order: a month's last row carries the sum since the
// last sub-total; a month that nets to zero or less carries its sum into the next one.
// The last row carries what remains. Returns the total of every amount, in hundredths.
int64_t SubTotalPayments(std::vector<PaymentRow>& rows);

// The status bar's two panels.
std::string PaymentsFoundText(int properties, int rows);  // "%d properties scanned, %d payments found"
std::string PaymentsTotalText(int64_t totalCents);        // "Total payments = %m"

enum class PaymentColumn { Date, Prop, Surname, LetStarts, Days, Amount, Type, Comment, SubTotals };
inline constexpr int kPaymentColumns = 9;
// The headings, as the list and the CSV file show them.
const char* PaymentHeading(PaymentColumn c);
std::string PaymentCellText(const PaymentRow& r, PaymentColumn c);
// A click on a column heading: numbers (property, days, amount, sub-total) by value,
// dates by date, texts ignoring case; ties keep their order.
void SortPaymentRows(std::vector<PaymentRow>& rows, PaymentColumn column, bool descending);

}  // namespace tb
