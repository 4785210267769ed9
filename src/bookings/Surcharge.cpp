#include "bookings/Surcharge.h"

#include <cmath>

#include "platform/Dialogs.h"
#include "platform/Format.h"
#include "platform/FormatSettings.h"

namespace tb {

SurchargeModel::SurchargeModel(const BookingForm& f, unsigned hundredths, const std::string& currency)
    : percent(Format("%g", {hundredths / 100.0}, FormatSettings{})),
      form_(f),
      basis_(f.status == Hold ? SurchargeBasis::Deposit
                              : f.status == DepositPaid ? SurchargeBasis::Balance : SurchargeBasis::Total),
      currency_(currency) {}

void SurchargeModel::ChooseBasis(SurchargeBasis b, Dialogs& dialogs) {
  if (b == SurchargeBasis::Deposit && form_.status == DepositPaid) {
    dialogs.Message("Deposit paid - cannot apply surcharge", MsgIcon::Error, MsgButton::OK);
    b = SurchargeBasis::Balance;
  }
  basis_ = b;
}

std::string SurchargeModel::PercentError() const {
  double v = 0;
  return ParseAmount(percent, v) && v >= 0 && v <= 100 ? std::string() : "Invalid surcharge - must be 0.00 to 100";
}

unsigned SurchargeModel::Hundredths() const {
  double v = 0;
  return ParseAmount(percent, v) ? static_cast<unsigned>(std::lround(v * 100)) : 0;
}

double SurchargeModel::BasisAmount() const {
  const std::string& text =
      basis_ == SurchargeBasis::Total ? form_.total : basis_ == SurchargeBasis::Deposit ? form_.deposit : form_.balance;
  double v = 0;
  return ParseAmount(text, v) ? v : 0;
}

std::string SurchargeModel::BasisText() const {
  return currency_ +
         (basis_ == SurchargeBasis::Total ? form_.total : basis_ == SurchargeBasis::Deposit ? form_.deposit : form_.balance);
}

double SurchargeModel::Surcharge() const {
  double pct = 0;
  return ParseAmount(percent, pct) ? BasisAmount() * pct / 100 : 0;
}

std::string SurchargeModel::SurchargeText() const {
  return currency_ + Format("%.2f", {Surcharge()}, FormatSettings{});
}

std::string SurchargeModel::PayableText() const {
  return currency_ + Format("%.2f", {BasisAmount() + Surcharge()}, FormatSettings{});
}

}  // namespace tb
