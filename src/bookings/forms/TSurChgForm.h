#pragma once
// "Calculate surcharge": a percentage of the booking's total, deposit or balance.

#include <QDialog>

#include "bookings/Surcharge.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tb {

class Session;

class TSurChgForm : public QDialog {
  Q_OBJECT
 public:
  TSurChgForm(Session& s, SurchargeModel& model, QWidget* parent = nullptr);

  // Leaving the percentage: false (after the message, with the focus back) when it is
  // not 0 to 100; a good one is shown worked out and remembered.
  bool PercentLeft();
  // "Click to apply": accepted once the percentage is good and the user agrees.
  void Apply();

  QComboBox* basis = nullptr;
  QLabel* basisAmount = nullptr;
  QLineEdit* percent = nullptr;
  QLabel* surcharge = nullptr;
  QLabel* payable = nullptr;

 private:
  void Show();
  Session& s_;
  SurchargeModel& model_;
};

}  // namespace tb
