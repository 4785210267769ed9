#include "bookings/Discount.h"

#include <cmath>

#include "platform/Format.h"
#include "platform/FormatSettings.h"
#include "store/PropRec.h"

namespace tb {

namespace {

DiscountLine Line(double pct, const std::string& caption, double rent, double extras, bool rounded) {
  DiscountLine l;
  l.caption = caption + "%";
  const double exact = rent * pct / 100;
  if (rounded) {
    l.amount = RoundHalfEven(exact);
    l.amountText = Format("%.0f", {l.amount}, FormatSettings{});
  } else {
    l.amount = exact;
    const bool whole = std::fabs(exact - std::round(exact)) < 0.005;
    l.amountText = Format(whole ? "%.0f" : "%.2f", {exact}, FormatSettings{});
  }
  l.netRent = MoneyText(rent - l.amount);
  l.extras = Format("%g", {extras}, FormatSettings{});
  l.netTotal = MoneyText(rent - l.amount + extras);
  return l;
}

}  // namespace

bool ValidSpecialPercent(const std::string& text) {
  double v = 0;
  return ParseAmount(text, v) && v >= 0.1 && v <= 100;
}

bool DiscountLines(const Prop_Rec& p, const BookingForm& f, bool rounded, const std::string& special,
                   std::vector<DiscountLine>& lines) {
  lines.clear();
  double rent = 0, extras = 0;
  if (!ParseAmount(f.rent, rent)) return false;
  for (size_t i = 1; i <= static_cast<size_t>(std::min<int>(p.ChargeCount, 3)); ++i) {
    double c = 0;
    if (!ParseAmount(f.charge[i], c)) return false;
    extras += c;
  }
  for (double pct : kDiscountPercents) lines.push_back(Line(pct, Format("%g", {pct}, FormatSettings{}), rent, extras, rounded));
  double pct = 0;
  ParseAmount(special, pct);
  lines.push_back(Line(ValidSpecialPercent(special) ? pct : 0, special, rent, extras, rounded));
  return true;
}

}  // namespace tb
