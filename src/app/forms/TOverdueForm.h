#pragma once
// "List of Overdue Items": the overdue list of every property, sortable by any column,
// printed or exported as it is shown; a click on a line opens its booking. Non-modal;
// the main window refreshes it after a booking save or deletion and after a refresh
// that re-read another user's changes.

#include <QDialog>
#include <functional>

#include "reports/OverdueList.h"
#include "reports/forms/PrintWindow.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tb {

class Session;
struct OpenBookingRequest;

class TOverdueForm : public QDialog {
  Q_OBJECT
 public:
  explicit TOverdueForm(Session& s, QWidget* parent = nullptr);

  // Builds the list and fills the window; false when it is empty.
  bool Build();
  // Builds it again, keeping the user's sort and the line at the top.
  void Refresh();
  // A click on a column heading.
  void SortBy(int column);
  // A click on line i (in display order).
  void OpenLine(int i);
  void PrintList();
  void ExportCsv();

  const std::vector<OverdueRow>& Rows() const { return list_.rows; }
  // The line at the top of the visible part of the list (-1 when empty).
  int TopLine() const;

  // Opens the booking window on a held booking (set by the main window).
  std::function<void(const OpenBookingRequest&)> openBooking;
  // Where "Print List" prints.
  PrintCanvasFactory printCanvas;

  QLabel* lText = nullptr;
  QTreeWidget* LV = nullptr;
  QPushButton* bPrint = nullptr;
  QPushButton* bCsv = nullptr;

 private:
  void Fill();
  void Fit();
  Session& s_;
  OverdueList list_;
};

}  // namespace tb
