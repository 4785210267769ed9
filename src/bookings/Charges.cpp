#include "bookings/Charges.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

#include "bookings/BookingStatus.h"
#include "bookings/WeekTable.h"
#include "platform/Dialogs.h"
#include "platform/Format.h"
#include "platform/FormatSettings.h"
#include "platform/Text.h"
#include "store/PropRec.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr const char* kNotUpdated = "Rent not updated - ";
constexpr const char* kPersonalQuestion =
    "This is a personal booking.\rUnchecking the reserved box makes it a Customer Booking.\rAre you sure?";
constexpr const char* kDepositQuestion =
    "Deposit not paid.  Reply as follows\rOK: Payment in full - set balance to total\rCancel: Start again.";


bool IsReservedSurname(const std::string& surname) { return TrimView(surname) == kReservedSurname; }

// Sums of sevenths and percentages carry binary noise (128.2 x 25 comes to a hair under
// 3205). No amount here means anything past six decimals, so snap to that before the
// rounding or truncation decides a whole unit.
double Snap(double x) { return std::round(x * 1e6) / 1e6; }
double RoundedUnits(double x) { return RoundHalfEven(Snap(x)); }
double TruncatedUnits(double x) { return std::trunc(Snap(x)); }


// An amount for the totals: blank counts as 0 (see ComputeTotals).
bool TotalsAmount(const std::string& text, double& value) {
  if (TrimView(text).empty()) {
    value = 0;
    return true;
  }
  return ParseAmount(text, value);
}

double DepositAmount(const Prop_Rec& p, double rent, const std::array<double, 4>& charge, double total) {
  if (!p.DepositIsPct) return p.Deposit;
  const double pct = p.Deposit;
  const int fee = ChargeIndex(p, p.BookFeeChg);
  if (fee == 0) return TruncatedUnits((p.DRO ? rent : total) * pct) / 100;
  double deposit = pct * rent / 100;
  for (int i = 1; i <= std::min<int>(p.ChargeCount, 3); ++i) {
    if (i == fee && p.DBookFee) {
      deposit += charge[i];
    } else if (!p.DRO) {
      deposit += charge[i] * pct / 100;
    }
  }
  return TruncatedUnits(deposit);
}

// Puts a tick back where it was and beeps: the change is refused.
bool Refuse(Dialogs& dialogs, bool& tick) {
  tick = !tick;
  dialogs.Beep();
  return false;
}

struct Price {
  double rent = 0, fuel = 0, linen = 0;
  std::string message;
  bool beep = false;
};

using WeekOfNight = std::function<const Status_Rec&(int night)>;

// A short let priced from the week of its first night, without short-break rules.
Price StandardShortLet(const Status_Rec& w0, const Rate_Rec& rates) {
  Price out;
  out.linen = rates.LinenCharge;
  out.fuel = w0.WeekFuel;
  if (rates.MinCost != 0) {
    out.rent = rates.MinCost;
    // A week without a price gives no ratio to scale by: its fuel stays as it is.
    if (w0.WeekCost != 0) out.fuel = out.fuel * rates.MinCost / w0.WeekCost;
    out.message = "Short let: Standard (minimum) cost applies";
  } else {
    out.rent = w0.WeekCost;
    out.message = "Short let: Charges are for full week, adjust as necessary";
  }
  out.beep = true;
  return out;
}

// A short let priced night by night with the short-break percentages.
Price ShortBreak(const CommonSettings& c, int nights, TDateTime start, const WeekOfNight& week,
                 const Rate_Rec& rates) {
  Price out;
  out.linen = rates.LinenCharge;
  double marker = 0;  // the first week's cost while the let stays on one rate
  bool straddles = false;
  double costA = 0, costB = 0;
  int split = 0, weekendNights = 0;
  for (int d = 0; d < nights; ++d) {
    const Status_Rec& w = week(d);
    if (!straddles) {
      if (marker == 0) {
        marker = w.WeekCost;
      } else if (w.WeekCost != marker) {
        costA = marker;
        costB = w.WeekCost;
        split = d;
        straddles = true;
      }
    }
    const int weekday = DayOfWeek(start + d);
    const bool weekend = weekday == 6 || weekday == 7 || weekday == 1;  // Fri, Sat, Sun
    if (weekend) ++weekendNights;
    const double pct = weekend ? c.WEpn : c.OTpn;
    out.rent += w.WeekCost * pct / 100;
    out.fuel += w.WeekFuel * pct / 100;
  }
  const Status_Rec& w0 = week(0);
  double base = w0.WeekCost;
  if (straddles && c.AvRent) base = (split * costA / 7 + (nights - split) * costB / 7) * 7 / nights;
  const bool weekend = weekendNights > 0;
  const double fix = weekend ? c.WEFix : c.OTFix;
  const double perNight = weekend ? c.WEpn : c.OTpn;
  const int minNights = weekend ? c.WEmin : c.OTmin;
  out.rent += base * fix / 100;
  out.fuel += w0.WeekFuel * fix / 100;
  if (minNights > nights) {
    out.rent += (minNights - nights) * base * perNight / 100;
    out.fuel += static_cast<double>(w0.WeekFuel) * (minNights - nights) * perNight / 100;
  }
  if (rates.MinCost > out.rent) {
    out.rent = rates.MinCost;
    out.message = "Minimum rent applies";
    out.beep = true;
  } else if (straddles) {
    out.message = c.AvRent ? "Let straddles rate change. Weighted average rate used"
                           : "Warning: Let straddles rate change. Override rent manually?";
    out.beep = true;
  }
  return out;
}

// Once the let is over, a booking just paid is complete, or waits for its returnable
// deposit to be repaid.
void CompleteAfterLet(const Prop_Rec& p, BookingForm& f) {
  f.status = Complete;
  if (const int i = ChargeIndex(p, p.RetDepChg)) {
    double held = 0;
    if (ParseAmount(f.charge[i], held) && held > 0) {
      f.status = RepayDeposit;
    } else {
      f.dateR = f.endD;
    }
  }
}

}  // namespace

bool ParseAmount(std::string_view text, double& value) {
  std::string_view t = TrimView(text);
  bool negative = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  int digits = 0, points = 0;
  for (char c : t) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return false;
    }
  }
  if (digits == 0 || points > 1) return false;
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::fixed);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
}

bool ComputeTotals(const Prop_Rec& p, BookingForm& f) {
  // A cancelled booking's total is its cancellation charge, set by hand.
  if (f.status == Cancelled) return true;
  if (f.reserved && IsPersonalName(f.surname)) {
    f.total = f.deposit = f.balance = MoneyText(0);
    return true;
  }
  double rent = 0;
  if (!TotalsAmount(f.rent, rent)) return false;
  std::array<double, 4> charge{};
  double total = rent;
  for (int i = 1; i <= std::min<int>(p.ChargeCount, 3); ++i) {
    if (!TotalsAmount(f.charge[i], charge[i])) return false;
    total += charge[i];
  }
  if (f.status >= Complete) {
    f.total = MoneyText(total);
    return true;
  }
  double deposit = 0;
  if (f.depositPaid) {
    if (!TotalsAmount(f.deposit, deposit)) return false;
  } else {
    deposit = DepositAmount(p, rent, charge, total);
  }
  f.total = MoneyText(total);
  f.deposit = MoneyText(deposit);
  f.balance = MoneyText(total - deposit);
  return true;
}

bool RecomputeTotals(Dialogs& dialogs, const Prop_Rec& p, BookingForm& f) {
  if (ComputeTotals(p, f)) return true;
  dialogs.Message("Invalid costs - correct.", MsgIcon::Error, MsgButton::OK);
  return false;
}

RentResult ComputeRent(Session& s, int n, BookingForm& f) {
  Dialogs& dialogs = s.dialogs;
  if (s.AppState == 'F') {
    dialogs.Beep();
    return {false, std::string(kNotUpdated) + "in File Edit Mode"};
  }
  const Prop_Rec& p = s.Prop(n);
  const TStArray& weeks = p.Weeks;
  // Written so that dates that are not numbers fail as well.
  if (weeks.empty() || !(f.startD >= weeks.front().WeekDate) || !(f.endD <= weeks.back().WeekDate + 7)) {
    dialogs.Beep();
    return {false, std::string(kNotUpdated) + "dates outside Status Window range"};
  }
  if (f.endD < f.startD) return {false, std::string(kNotUpdated) + "adjust end date?"};

  const int nights = static_cast<int>(RoundHalfEven(f.endD - f.startD));
  // Weeks missing from the table (a gap) cost nothing, as weeks without rates do.
  const Status_Rec unpriced{};
  const WeekOfNight week = [&](int night) -> const Status_Rec& {
    const int k = WeekIndex(weeks, f.startD + night);
    return k >= 0 && k < static_cast<int>(weeks.size()) ? weeks[static_cast<size_t>(k)] : unpriced;
  };
  const auto ratesOf = [&](const Status_Rec& w) -> const Rate_Rec& {
    return p.RateCache[w.RateYear == s.SeasonYear[0] ? 0 : 1];
  };

  Price price;
  if (nights >= 7) {
    // Every night costs a seventh of its own week, so a let across a rate change is
    // priced by the nights on each side.
    for (int d = 0; d < nights; ++d) {
      const Status_Rec& w = week(d);
      price.rent += w.WeekCost / 7.0;
      price.fuel += w.WeekFuel / 7.0;
      price.linen += ratesOf(w).LinenCharge / 7.0;
    }
  } else if (!s.common.CRWanted) {
    price = StandardShortLet(week(0), ratesOf(week(0)));
  } else {
    price = ShortBreak(s.common, nights, f.startD, week, ratesOf(week(0)));
  }

  f.rent = MoneyText(RoundedUnits(price.rent));
  if (const int i = ChargeIndex(p, p.FuelChg)) f.charge[i] = MoneyText(RoundedUnits(price.fuel));
  if (const int i = ChargeIndex(p, p.LinenChg)) f.charge[i] = MoneyText(RoundedUnits(price.linen));
  if (price.beep) dialogs.Beep();
  RecomputeTotals(dialogs, p, f);
  return {true, price.message};
}

NewBookingResult NewBookingCharges(Session& s, int n, BookingForm& f) {
  const Prop_Rec& p = s.Prop(n);
  for (int i = 1; i <= 3; ++i) f.charge[static_cast<size_t>(i)] = "0";
  if (const int i = ChargeIndex(p, p.RetDepChg)) f.charge[i] = MoneyText(p.RetDeposit);
  const RentResult rent = ComputeRent(s, n, f);
  if (const int i = ChargeIndex(p, p.BookFeeChg)) {
    if (p.BookFeeIsPct) {
      // A percentage fee is worked out once, here, and kept in full.
      double amount = 0;
      f.charge[i] = ParseAmount(f.rent, amount) ? Format("%g", {p.BookFee * amount / 100}, FormatSettings{})
                                                : "0";
    } else {
      f.charge[i] = MoneyText(p.BookFee);
    }
  }
  // Again, so that the fee is in the total and the deposit from the start, and the
  // amounts are filled even when the rent could not be worked out.
  RecomputeTotals(s.dialogs, p, f);
  return NewBookingResult{rent, NewBookingNotice(p, f.startD, s.clock.Today())};
}

bool ReservedTickChanged(Session& s, int n, BookingForm& f) {
  const Prop_Rec& p = s.Prop(n);
  if (f.reserved) {
    if (f.status == Reserved) return false;
    if (f.status != Hold) return Refuse(s.dialogs, f.reserved);
    f.status = Reserved;
    if (TrimView(f.surname).empty()) {
      f.surname = kReservedSurname;
      f.noClean = true;
    }
    RecomputeTotals(s.dialogs, p, f);
    return true;
  }
  if (f.status != Reserved) return false;
  if (IsReservedSurname(f.surname) &&
      s.dialogs.Message(kPersonalQuestion, MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel) !=
          MsgButton::OK) {
    f.reserved = true;
    return false;
  }
  f.status = Hold;
  RecomputeTotals(s.dialogs, p, f);
  return true;
}

bool DepositTickChanged(Session& s, int /*n*/, BookingForm& f) {
  if (f.status == Cancelled) return Refuse(s.dialogs, f.depositPaid);
  if (f.depositPaid) {
    if (f.status == Reserved && IsPersonalName(f.surname)) return Refuse(s.dialogs, f.depositPaid);
    if (f.status <= Hold) {
      f.status = DepositPaid;
      f.reserved = false;
    } else if (f.dateD > kNotPaid) {
      return false;  // already paid: nothing to change
    }
    f.dateD = s.clock.Today();
    return true;
  }
  if (f.status >= Paid) return Refuse(s.dialogs, f.depositPaid);
  if (f.status != DepositPaid) return false;
  f.status = Hold;
  // Unpaid again: a date left behind would count as paid for a later cancellation.
  f.dateD = kNotPaid;
  return true;
}

bool BalanceTickChanged(Session& s, int n, BookingForm& f) {
  const TDateTime today = s.clock.Today();
  if (f.status == Cancelled) return Refuse(s.dialogs, f.balancePaid);
  if (f.balancePaid) {
    if (f.status >= Paid) {
      if (f.dateP > kNotPaid) return false;
      f.dateP = today;
      return true;
    }
    if (f.status == Reserved && IsReservedSurname(f.surname)) return Refuse(s.dialogs, f.balancePaid);
    if (!f.depositPaid) {
      if (s.dialogs.Message(kDepositQuestion, MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel) !=
          MsgButton::OK) {
        f.balancePaid = false;
        return false;
      }
      // Paid in full at once: no separate deposit.
      f.depositPaid = true;
      f.dateD = today;
      f.deposit = MoneyText(0);
      f.balance = f.total;
    }
    f.status = Paid;
    f.reserved = false;
    f.dateP = today;
    if (today >= f.endD) CompleteAfterLet(s.Prop(n), f);
    return true;
  }
  if (f.status >= Paid) {
    f.status = DepositPaid;
    // Unpaid again, as for the deposit.
    f.dateP = kNotPaid;
    return true;
  }
  // Below Paid the balance tick belongs off; clearing it changes nothing.
  s.dialogs.Beep();
  return false;
}

uint8_t SettledStatus(uint8_t status, bool depositPaid, bool balancePaid) {
  if (status <= Hold && depositPaid) status = DepositPaid;
  if (status < Paid && balancePaid) status = Paid;
  return status;
}

int ChargeIndex(const Prop_Rec& p, uint8_t role) {
  return role >= 1 && role <= std::min<int>(p.ChargeCount, 3) ? role : 0;
}

}  // namespace tb
