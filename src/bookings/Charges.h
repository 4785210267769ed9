#pragma once
// The money of the booking being edited (rent from the week table, the extra charges,
// total, deposit, balance) and the status changes its "Paid" and "Reserved" ticks make.
// The booking window copies its fields into a BookingForm, calls these and copies the
// form back; nothing here knows a widget. Beeps and questions go through the session's
// Dialogs, so the window only passes the user's action on.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "store/BookRec.h"

namespace tb {

class Dialogs;
class Session;
struct Prop_Rec;

// The surname the system gives an owner's or maintenance reservation.
inline constexpr const char* kReservedSurname = "- Reserved -";

// What the booking window holds while a booking is edited. Amounts are the fields'
// texts, since a field may hold something that is not a number.
struct BookingForm {
  uint8_t status = Hold;
  std::string surname;
  std::string rent;
  std::array<std::string, 4> charge;  // extra charges 1..3 in [1..3]; [0] unused
  std::string total, deposit, balance;
  bool reserved = false;     // "Reserved Booking?"
  bool depositPaid = false;  // the deposit's "Paid"
  bool balancePaid = false;  // the balance's "Paid"
  bool noClean = false;      // "No clean required"
  TDateTime startD = 0, endD = 0;
  TDateTime dateD = kNotPaid, dateP = kNotPaid, dateR = kNotPaid;
};

// A charge role (FuelChg, RetDepChg, ...) as an index of the booking's charges 1..3; 0
// when the property has no such charge among those it shows.
int ChargeIndex(const Prop_Rec& p, uint8_t role);

// An amount as typed: optional blanks, an optional sign, digits with at most one '.'
// (".5" and "5." count), optional blanks. Empty text, exponents and anything else fail.
bool ParseAmount(std::string_view text, double& value);

// Total, deposit and balance from the rent, the property's extra charges, the status and
// the ticks. False, with no field changed, when an amount is not a number. A blank amount
// counts as 0 here, so a field being retyped does not raise an error at every keystroke;
// leaving it blank is refused by the window's amount check and by saving.
bool ComputeTotals(const Prop_Rec& p, BookingForm& f);
// ComputeTotals, showing "Invalid costs - correct." when it fails.
bool RecomputeTotals(Dialogs& dialogs, const Prop_Rec& p, BookingForm& f);

struct RentResult {
  bool updated = false;  // the rent and charges were worked out (and totals recomputed)
  std::string message;   // for the third status panel; "" when no rule applied
};
// Rent, Fuel and Linen of property n for the form's dates from its week table and rate
// cache, then the totals. Beeps where a rule says so. A refused computation (booking-file
// mode, dates outside the week table, end before start) changes no field.
RentResult ComputeRent(Session& s, int n, BookingForm& f);

// The charges of a booking just opened as new: the extra charges 0, the returnable
// deposit, the rent, the booking fee and the totals.
struct NewBookingResult {
  RentResult rent;
  std::string notice;  // the new-booking notice
  // The third panel's text: the rent computation's message, else the notice.
  std::string Panel() const { return rent.message.empty() ? notice : rent.message; }
};
NewBookingResult NewBookingCharges(Session& s, int n, BookingForm& f);

// The user changed a tick; the form holds its new state. Each applies the status change
// (or refuses it, putting the tick back and beeping), asks what must be asked, and
// returns whether the booking changed.
bool ReservedTickChanged(Session& s, int n, BookingForm& f);
bool DepositTickChanged(Session& s, int n, BookingForm& f);
bool BalanceTickChanged(Session& s, int n, BookingForm& f);

// The status stored on saving: Hold or below becomes DepositPaid with the deposit ticked,
// then below Paid becomes Paid with the balance ticked.
uint8_t SettledStatus(uint8_t status, bool depositPaid, bool balancePaid);

}  // namespace tb
