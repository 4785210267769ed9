#pragma once
// "View Payments ": the payments of the chosen properties between two dates, with
// monthly sub-totals, sortable by any column and written out as "Payments.csv".
// Non-modal; the list lives until an option changes or the window closes.

#include <QDialog>

#include "reports/Payments.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace tb {

class PaymentsModel;
class Session;

class TPaymentsForm : public QDialog {
  Q_OBJECT
 public:
  // property: the one selected at first (0: every property the list selects itself).
  TPaymentsForm(Session& s, int property, QWidget* parent = nullptr);

  // The window's commands, as its buttons and headings run them.
  void Run();
  void EditAsCsv();
  // A click on a column heading: sorts by it, the same heading again reverses.
  void SortBy(int column);
  // Any change of an option: the list and the status bar emptied.
  void ClearList();

  PaymentOptions Options() const;
  const std::vector<PaymentRow>& Rows() const;

  QListWidget* LB = nullptr;
  QDateEdit* StartDt = nullptr;
  QDateEdit* EndDt = nullptr;
  QCheckBox* OmitFuture = nullptr;
  QCheckBox* OmitComplete = nullptr;
  QPushButton* bRun = nullptr;
  QPushButton* bCsv = nullptr;
  QPushButton* bHelp = nullptr;
  QPushButton* bClose = nullptr;
  QTableView* LV = nullptr;
  PaymentsModel* model = nullptr;
  QLabel* panel[2] = {};

 protected:
  void done(int result) override;

 private:
  void BuildControls(int property);
  void OmitFutureClick();

  Session& s_;
  int sortColumn_ = -1;
  bool descending_ = false;
};

}  // namespace tb
