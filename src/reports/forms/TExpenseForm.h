#pragma once
// "Expenses": one property's expenses by category and month, a year at a time, to
// type, clear, save, export and import. The work is done by ExpenseEditor; this
// window copies the widgets in and out.

#include <QDialog>
#include <functional>

#include "reports/ExpenseEditor.h"

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tb {

class Session;

class TExpenseForm : public QDialog {
  Q_OBJECT
 public:
  explicit TExpenseForm(Session& s, QWidget* parent = nullptr);
  ~TExpenseForm() override;

  // As showing it does: property n (1 when out of range) and `year`; false when
  // expenses are not configured and the window must not be shown.
  bool Start(int n, int year);
  ExpenseEditor& Editor() { return editor_; }

  void Save();
  void SaveAndExit();
  void ExportCsv();
  void ImportYear();
  void NextProperty();
  void PrevProperty();
  void NextYear();
  void PrevYear();
  void ClearClick();
  // Enter in the grid: the next month, or January of the next category.
  void EnterPressed();

  QComboBox* CBProp = nullptr;
  QComboBox* CBYear = nullptr;
  QTableWidget* SGrid = nullptr;
  QPushButton* bClear = nullptr;
  QLabel* readOnlyLabel = nullptr;
  QAction* acSave = nullptr;
  QAction* acSaveExit = nullptr;
  QAction* acExport = nullptr;
  QAction* acImport = nullptr;
  QAction* acNextProp = nullptr;
  QAction* acPrevProp = nullptr;
  QAction* acNextYear = nullptr;
  QAction* acPrevYear = nullptr;
  QAction* acHelp = nullptr;

  // The open-file dialog of the import (tests replace it); "" when cancelled.
  std::function<QString()> chooseImportFile;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  // Ends typing in a cell, keeping what was typed.
  void CommitTyping();
  void BuildMenus();
  void ShowEditor();  // the editor's property, years, cells and state into the widgets
  void CellChanged(int row, int column);
  void PropertyChosen(int index);
  void YearChosen(int index);
  void StepProperty(int delta);
  bool Closing();
  Session& s_;
  ExpenseEditor editor_;
  bool filling_ = false;
  bool closed_ = false;
  bool cellRefused_ = false;  // the last cell typed was refused: Enter stays on it
};

}  // namespace tb
