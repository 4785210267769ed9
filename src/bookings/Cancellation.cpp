#include "bookings/Cancellation.h"

#include "platform/Format.h"

namespace tb {

double AmountPaid(const BookingForm& f) {
  double v = 0;
  if (f.status <= Hold) return 0;
  if (f.status == DepositPaid) return ParseAmount(f.deposit, v) ? v : 0;
  return ParseAmount(f.total, v) ? v : 0;
}

CancelDialogModel::CancelDialogModel(double paid, const std::string& currency)
    : charge(paid > 0 ? MoneyText(paid) : "0"), paid_(paid), currency_(currency) {}

std::string CancelDialogModel::PaidLine() const {
  return paid_ > 0 ? "Total amount already paid = " + currency_ + MoneyText(paid_)
                   : "Nothing has yet been paid. Cannot retain a charge";
}

std::string CancelDialogModel::Note() const {
  return paid_ > 0 ? "Note: Cancellation charge cannot exceed amount paid" : "Consider deleting this booking entirely";
}

void CancelDialogModel::ChargeChanged() {
  double v = 0;
  if (ParseAmount(charge, v)) refund = MoneyText(paid_ - v);
}

void CancelDialogModel::Choose(CancelOption o) {
  option = o;
  if (o == CancelOption::Retain) {
    charge = MoneyText(paid_);
    ChargeChanged();
  }
}

std::string CancelDialogModel::ChargeError() const {
  double v = 0;
  if (!ParseAmount(charge, v) || v < 0) return "Invalid amount";
  if (v > paid_) return "Cancellation Charge cannot exceed the amount paid";
  return {};
}

double CancelDialogModel::Charge() const {
  double v = 0;
  return ParseAmount(charge, v) ? v : 0;
}

}  // namespace tb
