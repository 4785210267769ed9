#pragma once
// "Discount Calculator": what each percentage takes off the rent; a click allows one.

#include <QDialog>
#include <functional>
#include <vector>

#include "bookings/Discount.h"

class QCheckBox;
class QLineEdit;
class QTreeWidget;

namespace tb {

class Session;

class TCalcForm : public QDialog {
  Q_OBJECT
 public:
  // apply: asks and applies a line; true when it was taken (the calculator closes).
  TCalcForm(Session& s, const Prop_Rec& p, const BookingForm& f, std::function<bool(const DiscountLine&)> apply,
            QWidget* parent = nullptr);
  // False when the rent or a charge is not a number (the calculator cannot be shown).
  bool Valid() const { return valid_; }
  // A line was clicked.
  void Choose(int row);
  void Recompute();

  QTreeWidget* lines = nullptr;
  QCheckBox* rounded = nullptr;
  QLineEdit* special = nullptr;

 private:
  Session& s_;
  const Prop_Rec& p_;
  const BookingForm& f_;
  std::function<bool(const DiscountLine&)> apply_;
  std::vector<DiscountLine> shown_;
  std::string special_;
  bool valid_ = false;
};

}  // namespace tb
