#pragma once
// "Bookings History": who booked each week of one property over five rate years, the
// chosen first year and the four before it. Opened modally from the main window.

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace tb {

class Session;

class THistoryForm : public QDialog {
  Q_OBJECT
 public:
  explicit THistoryForm(Session& s, QWidget* parent = nullptr);

  // "View": the chosen property's five columns; "No property selected" without one.
  void View();
  // The year buttons; each clears the grid.
  void YearUp();
  void YearDown();
  int Year() const { return year_; }
  // The chosen property's number; 0 when none is selected.
  int SelectedProperty() const;

  QListWidget* PropList = nullptr;
  QLineEdit* YearEdit = nullptr;
  QToolButton* UpBut = nullptr;
  QToolButton* DownBut = nullptr;
  QPushButton* ViewBut = nullptr;
  QTableWidget* Grid = nullptr;

 private:
  void SetYear(int year);
  // Empties the week cells, numbers the rows and heads the year columns from Year().
  void ClearGrid();
  void FitColumns();

  Session& s_;
  int year_ = 0;
};

}  // namespace tb
