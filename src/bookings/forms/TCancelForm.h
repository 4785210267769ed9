#pragma once
// "Cancellations": how a booking is cancelled and what of the money paid is kept.

#include <QDialog>

#include "bookings/Cancellation.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace tb {

class Session;

class TCancelForm : public QDialog {
  Q_OBJECT
 public:
  TCancelForm(Session& s, CancelDialogModel& model, QWidget* parent = nullptr);

  // "CONFIRM": accepted once the charge is acceptable.
  void Confirm();
  // Leaving the charge: false (after the message, with the focus back) when it is wrong.
  bool ChargeLeft();

  QLabel* paidLine = nullptr;
  QLabel* note = nullptr;
  QLineEdit* charge = nullptr;
  QLineEdit* refund = nullptr;
  QRadioButton* payNow = nullptr;
  QRadioButton* retain = nullptr;
  QRadioButton* remove = nullptr;

 private:
  void Show();
  Session& s_;
  CancelDialogModel& model_;
};

}  // namespace tb
