#pragma once
// The cancellation dialog's arithmetic and texts: what has been paid, the charge kept,
// the refund due. The booking editor applies the choice.

#include <string>

#include "bookings/Charges.h"

namespace tb {

// What the customer has paid, as a cancellation sees it: nothing for Hold and below,
// the deposit once it is paid, the total once the booking is paid.
double AmountPaid(const BookingForm& f);

enum class CancelOption { PayNow, Retain, Delete };

class CancelDialogModel {
 public:
  CancelDialogModel(double paid, const std::string& currency);

  double Paid() const { return paid_; }
  bool ChargeEditable() const { return paid_ > 0; }
  std::string PaidLine() const;
  std::string Note() const;

  std::string charge;        // as typed
  std::string refund = "0";  // follows the charge while it is a valid number
  CancelOption option = CancelOption::Retain;

  // The charge was typed: the refund follows it when it is a number.
  void ChargeChanged();
  // Choosing "retain" keeps everything paid.
  void Choose(CancelOption o);
  // Leaving the charge field: "" when acceptable, else the message.
  std::string ChargeError() const;
  // The charge as a number (valid only when ChargeError() is "").
  double Charge() const;

 private:
  double paid_;
  std::string currency_;
};

}  // namespace tb
