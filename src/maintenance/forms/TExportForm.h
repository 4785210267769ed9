#pragma once
// The export window: the bookings of the chosen properties to "Bookings.csv" through
// an export template or with every field, and the rates as "Import-charges.sql". Made
// on first use and kept for the run, so the lists stay as the user left them.

#include <QDialog>
#include <string>
#include <vector>

#include "maintenance/ExportTemplate.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace tb {

class Session;
class ExportItemList;
struct ExportRun;

class TExportForm : public QDialog {
  Q_OBJECT
 public:
  explicit TExportForm(Session& s, QWidget* parent = nullptr);

  // Moves row `row` of `from` before row `before` of `to` (at the end when -1), as a
  // drag does; marks the template changed.
  void MoveItem(QTreeWidget* from, int row, QTreeWidget* to, int before);
  // "Rename item" on the list's current item.
  void RenameItem(QTreeWidget* list);
  void Export();
  void ExportAll();
  void ExportRates();
  void SaveTemplate();
  void DeleteTemplate();
  void RenameTemplate();
  void LoadSelectedTemplate();

  bool Changed() const { return changed_; }
  // The template as the two lists hold it now.
  ExportTemplate ListedTemplate() const;
  std::vector<int> SelectedProperties() const;

  QListWidget* LB = nullptr;
  QDateEdit* ExStart = nullptr;
  QDateEdit* ExEnd = nullptr;
  QComboBox* TFileBox = nullptr;
  QTreeWidget* LV = nullptr;
  QTreeWidget* LV1 = nullptr;
  QCheckBox* cbHdr = nullptr;
  QPushButton* exportButton = nullptr;
  QPushButton* exportAllButton = nullptr;
  QPushButton* exportRatesButton = nullptr;
  QPushButton* saveButton = nullptr;
  QPushButton* closeButton = nullptr;
  QPlainTextEdit* Memo1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void done(int result) override;

 private:
  ExportItemList* MakeList(const QString& title);
  void FillTemplateBox(const std::string& select);
  void ShowTemplate(const ExportTemplate& t);
  void MarkChanged(bool changed);
  // Keeps the dates and the title choice, and asks when the lists were changed.
  bool MayClose();
  void Log(const std::vector<std::string>& lines);
  ExportRun Run() const;
  Session& s_;
  std::string template_;  // the name of the template loaded
  bool changed_ = false;
  bool asked_ = false;
};

}  // namespace tb
