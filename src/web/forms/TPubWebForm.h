#pragma once
// "Publish availability to web": the availability pages of the chosen properties made
// again for a range of weeks, looked at, and handed to Ferrit for uploading. What it
// decides is in the engine (AvailabilityPages, PublishWeb); this copies the controls in
// and paints the message pane.

#include <QDialog>

#include "web/PublishWeb.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace tb {

class Session;

class TPubWebForm : public QDialog {
  Q_OBJECT
 public:
  explicit TPubWebForm(Session& s, QWidget* parent = nullptr);

  void UpdateSelected();
  void ViewSelected();
  void UploadSelected();
  // The range as the controls show it (a year not chosen is 0).
  PubRange Range() const;
  std::vector<int> SelectedProperties() const;
  // The message pane's lines as painted, for tests: text and style.
  const std::vector<PaneLine>& PaneLines() const { return pane_; }

  QListWidget* PropList = nullptr;
  QComboBox* cbStartYear = nullptr;
  QComboBox* cbStartWeek = nullptr;
  QComboBox* cbEndYear = nullptr;
  QComboBox* cbEndWeek = nullptr;
  QCheckBox* cbCompress = nullptr;
  QCheckBox* cbLongDates = nullptr;
  QCheckBox* cbMonthSep = nullptr;
  QCheckBox* cbYearSep = nullptr;
  QCheckBox* cbOmitLet = nullptr;
  QPushButton* bUpdate = nullptr;
  QPushButton* bView = nullptr;
  QPushButton* bUpload = nullptr;
  QPushButton* bClose = nullptr;
  QTextEdit* Memo = nullptr;

 protected:
  void done(int result) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowRange(const PubRange& r);
  void StartYearPicked();
  void EndYearPicked();
  void ClearPane();
  void AddPaneLines(const std::vector<PaneLine>& lines);

  Session& s_;
  std::vector<PaneLine> pane_;
  PubRange shown_;
  bool stored_ = false;
};

}  // namespace tb
