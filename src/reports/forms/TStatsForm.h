#pragma once
// "Booking statistics": income by year, bookings by source and the nights booked ahead
// for the selected properties, as tables of text with the same figures plotted beside
// them. Made once by the main window; the year start day keeps its last valid value.

#include <QDialog>
#include <vector>

class QChartView;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace tb {

class Session;
struct StatsResult;

class TStatsForm : public QDialog {
  Q_OBJECT
 public:
  explicit TStatsForm(Session& s, QWidget* parent = nullptr);

  // "Analyse": the selected properties' tables, the plots and "NoSource.txt".
  void Analyse();
  // Leaving the year start field: false (after the beep and the message, focus kept)
  // when it holds no valid day and month.
  bool YEdayExit();
  // "S?": the list of bookings without a source.
  void ViewNoSource();
  std::vector<int> SelectedProperties() const;
  int StartDay() const { return startDay_; }
  int StartMonth() const { return startMonth_; }

  QListWidget* LB = nullptr;
  QLineEdit* YEday = nullptr;
  QPushButton* AnalyseBut = nullptr;
  QPushButton* NoSourceBut = nullptr;
  QTextEdit* RichEdit1 = nullptr;
  QChartView* incomeChart = nullptr;
  QChartView* forwardChart = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowResult(const StatsResult& r);
  void Plot(const StatsResult& r);

  Session& s_;
  int startDay_ = 5;
  int startMonth_ = 4;
  // The text last refused on leaving the field: leaving it for "Analyse" has said so.
  QString refused_;
};

}  // namespace tb
