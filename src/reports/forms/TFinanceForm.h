#pragma once
// "Monthly Accounts (for Owners/Agents)": the accounts of the selected properties for
// one month, printed or e-mailed to their owners, and the agent summary, with the run's
// log in the lower part of the window.

#include <QDialog>
#include <functional>
#include <vector>

#include "reports/AccountsRun.h"
#include "reports/forms/PrintWindow.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace tb {

class Session;
class TEmailForm;

class TFinanceForm : public QDialog {
  Q_OBJECT
 public:
  explicit TFinanceForm(Session& s, QWidget* parent = nullptr);

  // The run button; what the run ended with.
  AccountsEnd RunButClick();
  std::vector<int> SelectedProperties() const;
  int ChosenYear() const;
  int ChosenMonth() const;  // 1..12
  // The log's lines, top to bottom.
  std::vector<std::string> LogLines() const;

  PrintCanvasFactory printCanvas;
  // Shows the e-mail window of a message (tests replace it; unset: modally).
  std::function<void(TEmailForm&)> showEmail;

  QListWidget* LB = nullptr;
  QComboBox* rYr = nullptr;
  QComboBox* rMth = nullptr;
  QCheckBox* oEmail = nullptr;
  QCheckBox* ViewEdit = nullptr;
  QCheckBox* AgentReport = nullptr;
  QCheckBox* SummaryOnly = nullptr;
  QCheckBox* CSVSummary = nullptr;
  QPushButton* RunBut = nullptr;
  QListWidget* Log = nullptr;

 private:
  void BuildControls();
  void AgentReportClick(bool on);
  void EmailClick(bool on);
  bool PrintJob(const std::function<bool(ReportPrinter&)>& job);

  Session& s_;
};

}  // namespace tb
