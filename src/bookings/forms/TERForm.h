#pragma once
// The rates window: one rate year of one property, its bands, charges and 53 week
// rows. What happens to the rates is decided by the rates editor engine.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <functional>
#include <string>
#include <utility>

#include "bookings/RatesEditor.h"
#include "reports/forms/PrintWindow.h"

class QGroupBox;

namespace tb {

class Session;

class TERForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TERForm(Session& s, QWidget* parent = nullptr);
  ~TERForm() override;

  // Loads year `year` of property n; false when the year is not loaded (the window
  // is then not to be shown).
  bool Load(int n, int year);
  RatesEditor& Editor() { return editor_; }

  // The commands.
  void SaveExit();
  void StepYear(int delta);
  void GlobalChange();
  void Import();
  void CopyFromTemplate();
  void DeleteCurrentFile();
  void PrintForm();
  void CopyLine();
  void PasteLine();
  void DuplicateLine();
  void DuplicateField();
  // The focus moved from `from` to `to` inside the window: the field left is checked,
  // and keeps the focus when it is wrong.
  void FocusMoved(QWidget* from, QWidget* to);

  // After the window closed and let the file go.
  std::function<void()> onClosed;
  // The file "Import from file" reads; "" when cancelled.
  std::function<QString()> chooseImportFile;
  // The property (0: cancelled) and "Copy Rate Lines only" for "Copy Rates from template".
  std::function<std::pair<int, bool>()> pickTemplate;
  PrintCanvasFactory printCanvas;

  // Controls, as the rates window names them.
  std::array<QLineEdit*, 6> band{};
  std::array<QLineEdit*, 3> fuelCost{};  // Low, Medium, High
  QLineEdit* linen = nullptr;
  QLineEdit* minCost = nullptr;
  QRadioButton* increase = nullptr;
  QRadioButton* decrease = nullptr;
  QLineEdit* percent = nullptr;
  QPushButton* bChange = nullptr;
  QPushButton* bTemplate = nullptr;
  QPushButton* bSaveExit = nullptr;
  QPushButton* bClose = nullptr;
  QLabel* lReadOnly = nullptr;
  QLabel* lUpdated = nullptr;
  QLabel* heading = nullptr;
  struct WeekRow {
    QLabel* label = nullptr;
    QLineEdit* cost = nullptr;
    QLineEdit* comment = nullptr;
    QLineEdit* fuel = nullptr;
  };
  std::array<WeekRow, 53> weeks{};

  QAction* acSaveExit = nullptr;
  QAction* acClose = nullptr;
  QAction* acPrint = nullptr;
  QAction* acImport = nullptr;
  QAction* acTemplate = nullptr;
  QAction* acDelete = nullptr;
  QAction* acCopyLine = nullptr;
  QAction* acPasteLine = nullptr;
  QAction* acDuplicateLine = nullptr;
  QAction* acDuplicateField = nullptr;
  QAction* acNextYear = nullptr;
  QAction* acPrevYear = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildCommands();
  QLineEdit* NumberEdit(QWidget* parent);
  void Loaded();
  void ReadFields();
  void ShowFields();
  void Edited();
  // The week row and column of a field; row -1 when it is not a week field.
  std::pair<int, RateColumn> RowOf(const QWidget* w) const;
  QLineEdit* Cell(int row, RateColumn column) const;
  // The check a field gets on leaving; false when it has none.
  bool KindOf(const QWidget* w, RateFieldKind& kind) const;
  // Checks a field; on an error it flashes light red during the message and keeps
  // the focus. True when the field is acceptable.
  bool CheckField(QLineEdit* field);
  // The field a save found wrong gets the focus.
  void FocusInvalidField();
  // The help topic of a field (the window's own topic for the rest).
  int HelpContext(const QWidget* w) const;
  void Closed();

  Session& s_;
  RatesEditor editor_;
  QGroupBox* fuelBox_ = nullptr;
  QWidget* linenRow_ = nullptr;
  bool ready_ = false;
  bool checking_ = false;
  bool closed_ = false;
  QMetaObject::Connection focusWatch_;
};

}  // namespace tb
