#pragma once
// "Report Window": the booking reports of the selected properties over a range of
// weeks (kinds 1 to 4) or a tax year (kinds 5 and 6). The main window sets the kind and
// shows it; shown again for the same kind, it keeps the user's choices.

#include <QDialog>
#include <string>
#include <vector>

#include "reports/BookingReports.h"
#include "reports/forms/PrintWindow.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tb {

class Session;

// The report kinds, as the main window's report menu numbers them.
enum class ReportKind { Status = 1, Availability, PrintedList, ListFile, Income, IncomeCsv };

class TReportForm : public QDialog {
  Q_OBJECT
 public:
  explicit TReportForm(Session& s, QWidget* parent = nullptr);

  // Sets the window up for a kind; nothing changes when it is the kind it has.
  void SetKind(ReportKind kind);
  ReportKind Kind() const { return kind_; }
  int HelpContext() const;
  // The run button.
  void Run();

  // The selected properties, in number order.
  std::vector<int> SelectedProperties() const;
  WeekRange Range() const;
  void SetRange(const WeekRange& r);
  // The year the chosen tax year ends in.
  int TaxYear() const;
  void SetTaxYear(int year);

  PrintCanvasFactory printCanvas;

  QListWidget* LB = nullptr;
  QLabel* Prompt = nullptr;
  QGroupBox* RangeBox = nullptr;
  QComboBox* pStYr = nullptr;
  QComboBox* pStWeek = nullptr;
  QComboBox* pEndYr = nullptr;
  QComboBox* pEndWk = nullptr;
  QLabel* lTYr = nullptr;
  QComboBox* pTaxYr = nullptr;
  QPushButton* RunBut = nullptr;

 private:
  void BuildControls();
  // Kinds 1, 3 and 4: the printer free and the range not empty, then the report.
  void RunRangeReport();
  void RunAvailability();
  void RunIncome();
  void RunIncomeCsv();
  // Saves a report text in the root folder and opens it; false when it could not be written.
  bool SaveAndOpen(const std::string& name, const std::string& text, const std::string& savedAs);
  bool RangeIsEmpty(const std::vector<int>& properties);

  Session& s_;
  ReportKind kind_ = ReportKind::Status;
  bool setUp_ = false;
};

}  // namespace tb
