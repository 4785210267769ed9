// Cancelling, refunds, the returnable deposit, surcharges and discounts of the booking
// in a BookingEditor. Each changes only the fields; saving stores them.

#include "bookings/BookingEditor.h"
#include "platform/Format.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kCancelHelp = 267;

}  // namespace

std::string BookingEditor::Currency() const { return Prop().CurrencySymbol(); }

// A line at the end of the comments, within their limit.
void BookingEditor::AddComment(const std::string& line) {
  std::string& c = fields.comments;
  c += (c.empty() ? "" : "\r\n") + line;
  if (c.size() > kCommentsLimit) c.resize(kCommentsLimit);
}

double BookingEditor::PaidByDates() const {
  const BookingForm& f = fields.form;
  double paid = 0, v = 0;
  if (f.dateD > kNotPaid && ParseAmount(f.deposit, v)) paid += v;
  if (f.dateP > kNotPaid && ParseAmount(f.balance, v)) paid += v;
  return paid;
}

bool BookingEditor::FeeExceeds(double charge) const {
  const Prop_Rec& p = Prop();
  const int i = ChargeIndex(p, p.BookFeeChg);
  double fee = 0;
  return i && ParseAmount(fields.form.charge[static_cast<size_t>(i)], fee) && fee > charge;
}

std::string BookingEditor::CancellationChargeError() const {
  double charge = 0;
  if (!ParseAmount(fields.form.total, charge) || charge < 0) return "Invalid amount";
  if (charge > PaidByDates()) return "Cannot refund more than paid";
  if (FeeExceeds(charge)) return "Cancellation charge insufficient to cover booking fee\rIncrease charge or reduce fee";
  return {};
}

void BookingEditor::SettleRefund() {
  double charge = 0;
  if (ParseAmount(fields.form.total, charge)) fields.refund = MoneyText(PaidByDates() - charge);
}

bool BookingEditor::CancellationChargeLeft() {
  const std::string error = CancellationChargeError();
  if (!error.empty()) {
    s_.dialogs.Message(error, MsgIcon::Error, MsgButton::OK);
    focus = EditorFocus::Total;
    return false;
  }
  SettleRefund();
  return true;
}

// ---- Cancelling ----------------------------------------------------------------------------

bool BookingEditor::MayCancel() {
  if (mode_ == EditorMode::File || readOnly_) return false;
  if (mode_ == EditorMode::New) {
    s_.dialogs.Message("New booking, not yet saved. Cannot cancel yet.\rQuit without saving to remove",
                       MsgIcon::Information, MsgButton::OK);
    return false;
  }
  if (fields.form.status == Cancelled) {
    s_.dialogs.Message("Booking already cancelled. Adjust charges and dates as required", MsgIcon::Information,
                       MsgButton::OK | MsgButton::Help, kCancelHelp);
    return false;
  }
  return true;
}

BookingEditor::CancelResult BookingEditor::Cancel(CancelOption option, double charge) {
  if (option == CancelOption::Delete) return Delete() ? CancelResult::Deleted : CancelResult::Unchanged;
  BookingForm& f = fields.form;
  const double paid = AmountPaid();
  if (FeeExceeds(charge)) {
    s_.dialogs.Message("Cancellation charge insufficient to cover booking fee\rEither reduce/remove booking fee or "
                       "adjust charge",
                       MsgIcon::Error, MsgButton::OK);
    return CancelResult::Unchanged;
  }
  // The note goes only where it fits whole.
  if (fields.comments.size() < kCommentsLimit - 22) AddComment("Cancelled " + ShortDateText(s_.clock.Today()));
  const bool payNow = option == CancelOption::PayNow;
  fields.refundPaid = payNow;
  f.dateR = payNow ? s_.clock.Today() : kNotPaid;
  fields.refund = MoneyText(paid - charge);
  f.total = MoneyText(charge);
  f.status = Cancelled;
  FieldChanged();
  Prop().DatesChanged = 1;  // the week is free again on the web

  const std::string cs = Currency();
  std::string report = "Booking CANCELLED. \rSAVE it to confirm (\"Quit-don't save\" aborts)\r";
  if (paid == 0) {
    report += "Nothing paid, so nothing can be refunded";
  } else {
    report += "Customer already paid " + cs + MoneyText(paid) + "\r";
    if (payNow)
      report += "Cancellation charge is " + cs + MoneyText(charge) + "\r" + "You need to refund " + cs +
                MoneyText(paid - charge) + " - NOTE THIS AMOUNT" + "\r";
    else
      report += "You are retaining this amount, and defering a refund to a future date\rNote - the booking will show "
                "in the \"Overdue Payments\" list";
  }
  s_.dialogs.Message(report, MsgIcon::Information, MsgButton::OK | MsgButton::Help, kCancelHelp);
  return CancelResult::Cancelled;
}

// ---- Refunds and the returnable deposit ---------------------------------------------------------

void BookingEditor::RefundTicked() {
  if (readOnly_) return;
  BookingForm& f = fields.form;
  if (fields.refundPaid) {
    f.dateR = s_.clock.Today();
    FieldChanged();
    return;
  }
  if (f.status == Cancelled) {
    f.dateR = kNotPaid;
    FieldChanged();
    return;
  }
  const Prop_Rec& p = Prop();
  const int rd = ChargeIndex(p, p.RetDepChg);
  double charge = 0, refund = 0;
  if (rd == 0 || s_.dialogs.Message("Cancel repayment (of returnable deposit)?\rNote - any refund shown is added back "
                                    "to the returnable deposit",
                                    MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes) {
    fields.refundPaid = true;  // nothing changes
    return;
  }
  std::string& deposit = f.charge[static_cast<size_t>(rd)];
  ParseAmount(deposit, charge);
  ParseAmount(fields.refund, refund);
  f.status = RepayDeposit;
  deposit = MoneyText(charge + refund);
  fields.refund = "0";
  f.dateR = kNotPaid;
  RecomputeTotals(s_.dialogs, p, f);
  FieldChanged();
}

bool BookingEditor::Repay() {
  if (readOnly_) return false;
  BookingForm& f = fields.form;
  const Prop_Rec& p = Prop();
  const int rd = ChargeIndex(p, p.RetDepChg);
  if (rd == 0) return false;
  if (!(f.status > DepositPaid && f.status != Cancelled && s_.clock.Today() >= f.endD)) {
    s_.dialogs.Message("Booking not complete or paid up (or cancelled)\rCannot repay deposit.", MsgIcon::Error,
                       MsgButton::OK);
    return false;
  }
  const MsgButton answer = s_.dialogs.Message(
      "Status will change to show you have repaid the returnable deposit,\rassumed to be repaid today.\rAre you "
      "retaining any of the deposit to cover damage?",
      MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
  if (answer == MsgButton::Cancel) {
    s_.dialogs.Beep();
    return false;
  }
  std::string& deposit = f.charge[static_cast<size_t>(rd)];
  double held = 0, retained = 0;
  ParseAmount(deposit, held);
  std::string retention = "0";
  if (answer == MsgButton::Yes) {
    retention.clear();
    // Asked again until the amount is one that can be kept.
    for (;;) {
      if (!s_.dialogs.InputQuery("Retention", "Enter valid amount:", retention)) {
        s_.dialogs.Beep();
        return false;
      }
      if (ParseAmount(retention, retained) && retained >= 0 && retained <= held) break;
    }
  }
  fields.refund = MoneyText(held - retained);
  deposit = retention;
  fields.refundPaid = true;
  f.dateR = s_.clock.Today();
  f.status = Complete;
  RecomputeTotals(s_.dialogs, p, f);
  FieldChanged();
  return true;
}

// ---- Surcharges and discounts --------------------------------------------------------------

bool BookingEditor::MaySurcharge() {
  if (readOnly_) return false;
  const uint8_t st = fields.form.status;
  if (st == Hold || st == DepositPaid) return true;
  s_.dialogs.Message("Surcharge not possible (inappropriate status)", MsgIcon::Information, MsgButton::OK);
  return false;
}

void BookingEditor::ApplySurcharge(const SurchargeModel& m) {
  BookingForm& f = fields.form;
  const Prop_Rec& p = Prop();
  const int sc = ChargeIndex(p, p.SurchargeChg);
  if (sc == 0) return;
  const double surcharge = m.Surcharge();
  double v = 0;
  std::string& charge = f.charge[static_cast<size_t>(sc)];
  ParseAmount(charge, v);
  charge = MoneyText(v + surcharge);
  if (m.Basis() == SurchargeBasis::Deposit) {
    if (f.status == Hold) {
      ParseAmount(f.deposit, v);
      f.deposit = MoneyText(v + surcharge);
      // Worked out as if the deposit were paid, so it keeps the surcharge and the
      // balance stays as it was.
      const bool paid = f.depositPaid;
      f.depositPaid = true;
      const bool ok = ComputeTotals(p, f);
      f.depositPaid = paid;
      if (!ok) s_.dialogs.Message("QZ-BU36 Error", MsgIcon::Error, MsgButton::OK);
    } else {
      s_.dialogs.Message("QZ-BU37 Error", MsgIcon::Error, MsgButton::OK);
    }
  } else {
    RecomputeTotals(s_.dialogs, p, f);
  }
  panel[2] = "Added surcharge=" + m.percent + "%";
  FieldChanged();
}

bool BookingEditor::ApplyDiscount(const DiscountLine& line) {
  if (readOnly_) return false;
  if (s_.dialogs.Message("Allow discount of " + line.caption + " on rent?", MsgIcon::Confirmation,
                         MsgButton::OK | MsgButton::Cancel) != MsgButton::OK)
    return false;
  BookingForm& f = fields.form;
  double rent = 0;
  ParseAmount(f.rent, rent);
  f.rent = MoneyText(rent - line.amount);
  const std::string text = line.caption + " discount allowed";
  discountComment_ = FormatDateTime("yymmdd", s_.clock.Today()) + " " + text;
  AddComment(discountComment_);
  panel[2] = text;
  RecomputeTotals(s_.dialogs, Prop(), f);
  FieldChanged();
  return true;
}

}  // namespace tb
