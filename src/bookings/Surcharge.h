#pragma once
// The surcharge dialog's arithmetic: a percentage of the booking's total, deposit or
// balance, as the booking window holds them.

#include <string>

#include "bookings/Charges.h"

namespace tb {

class Dialogs;

enum class SurchargeBasis { Total, Deposit, Balance };

class SurchargeModel {
 public:
  // hundredths: the remembered percentage x 100.
  SurchargeModel(const BookingForm& f, unsigned hundredths, const std::string& currency);

  SurchargeBasis Basis() const { return basis_; }
  // Choosing a basis; a paid deposit cannot take a surcharge (the basis becomes the
  // balance, after the message).
  void ChooseBasis(SurchargeBasis b, Dialogs& dialogs);

  std::string percent;  // as typed
  // Leaving the percentage: "" when it is a number from 0 to 100, else the message.
  std::string PercentError() const;
  // The remembered percentage x 100 for the typed one.
  unsigned Hundredths() const;

  std::string BasisText() const;     // symbol + the field's text
  double Surcharge() const;          // 0 while the basis or percentage is not a number
  std::string SurchargeText() const;  // symbol + two decimals
  std::string PayableText() const;    // symbol + (basis + surcharge), two decimals

 private:
  double BasisAmount() const;
  const BookingForm& form_;
  SurchargeBasis basis_;
  std::string currency_;
};

}  // namespace tb
