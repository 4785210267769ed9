#include "reports/forms/TExpenseForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "platform/forms/WindowAction.h"
#include "reports/ExpensesCsv.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

constexpr int kExpensesHelp = 950;

// The grid, with Enter moving on to the next cell whether or not a cell is being typed in.
class ExpenseGrid : public QTableWidget {
 public:
  ExpenseGrid(QWidget* parent, std::function<void()> enter) : QTableWidget(parent), enter_(std::move(enter)) {}

  // What is being typed into a cell goes into the cell: a shortcut or a close does not
  // move the focus, and the amount would otherwise be missed, or land in the next year
  // or property shown.
  void CommitEdit() {
    if (state() != EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
      commitData(editor);
      closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && state() != EditingState) {
      enter_();
      return;
    }
    QTableWidget::keyPressEvent(e);
  }
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
    // Enter ends typing with SubmitModelCache; the value is committed by then.
    QTableWidget::closeEditor(editor,
                              hint == QAbstractItemDelegate::SubmitModelCache ? QAbstractItemDelegate::NoHint : hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache) enter_();
  }

 private:
  std::function<void()> enter_;
};

}  // namespace

TExpenseForm::TExpenseForm(Session& s, QWidget* parent) : QDialog(parent), s_(s), editor_(s) {
  setWindowTitle(QStringLiteral("Expenses"));
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(new QMenuBar(this));

  auto* top = new QHBoxLayout;
  CBProp = new QComboBox(this);
  CBProp->setObjectName(QStringLiteral("CBProp"));
  for (const PropertyListRow& row : PropertyListRows(s_, false)) CBProp->addItem(ToQ(row.text), row.propNo);
  CBProp->setMinimumWidth(220);
  CBYear = new QComboBox(this);
  CBYear->setObjectName(QStringLiteral("CBYear"));
  CBYear->setMinimumWidth(80);
  readOnlyLabel = new QLabel(this);
  readOnlyLabel->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
  bClear = new QPushButton(QStringLiteral("Clear"), this);
  bClear->setAutoDefault(false);
  top->addWidget(new QLabel(QStringLiteral("Property"), this));
  top->addWidget(CBProp);
  top->addSpacing(12);
  top->addWidget(new QLabel(QStringLiteral("Year"), this));
  top->addWidget(CBYear);
  top->addSpacing(12);
  top->addWidget(readOnlyLabel, 1);
  top->addWidget(bClear);
  layout->addLayout(top);

  SGrid = new ExpenseGrid(this, [this]() { EnterPressed(); });
  SGrid->setObjectName(QStringLiteral("SGrid"));
  SGrid->setColumnCount(13);
  QStringList heading{QStringLiteral("Category")};
  for (const std::string& m : ExpenseMonthNames()) heading << ToQ(m);
  SGrid->setHorizontalHeaderLabels(heading);
  SGrid->verticalHeader()->hide();
  SGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  SGrid->setColumnWidth(0, 150);
  for (int c = 1; c <= 12; ++c) SGrid->setColumnWidth(c, 62);
  SGrid->setMinimumWidth(150 + 12 * 62 + 4);
  layout->addWidget(SGrid, 1);
  resize(150 + 12 * 62 + 30, 360);

  connect(SGrid, &QTableWidget::cellChanged, this, &TExpenseForm::CellChanged);
  // A refused amount holds only the next Enter on its own cell; moving away ends it.
  connect(SGrid, &QTableWidget::currentCellChanged, this, [this](int, int, int, int) { cellRefused_ = false; });
  connect(CBProp, &QComboBox::currentIndexChanged, this, &TExpenseForm::PropertyChosen);
  connect(CBYear, &QComboBox::currentIndexChanged, this, &TExpenseForm::YearChosen);
  connect(bClear, &QPushButton::clicked, this, &TExpenseForm::ClearClick);
  BuildMenus();
  AddHelpKey(this, [this]() { OpenHelp(s_, kExpensesHelp); });

  chooseImportFile = [this]() {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Import year from CSV"), QString(),
                                        QStringLiteral("CSV Files (*.csv *.CSV)"));
  };
}

TExpenseForm::~TExpenseForm() = default;

void TExpenseForm::BuildMenus() {
  auto* menus = qobject_cast<QMenuBar*>(layout()->menuBar());
  auto add = [this](QMenu* menu, const char* caption, const char* key, auto run) {
    return AddWindowAction(this, menu, caption, key, run);
  };
  QMenu* file = menus->addMenu(QStringLiteral("&File"));
  acSave = add(file, "Save", "Ctrl+S", &TExpenseForm::Save);
  acSaveExit = add(file, "Save and exit", "F4", &TExpenseForm::SaveAndExit);
  file->addSeparator();
  acExport = add(file, "Export Expenses to CSV file", nullptr, &TExpenseForm::ExportCsv);
  acImport = add(file, "Import year from CSV", nullptr, &TExpenseForm::ImportYear);
  QMenu* navigate = menus->addMenu(QStringLiteral("&Navigate"));
  acNextProp = add(navigate, "Next Property (PageDn)", "PgDown", &TExpenseForm::NextProperty);
  acPrevProp = add(navigate, "Prev. Property (PageUp)", "PgUp", &TExpenseForm::PrevProperty);
  navigate->addSeparator();
  acNextYear = add(navigate, "Next Year", "Ctrl+N", &TExpenseForm::NextYear);
  acPrevYear = add(navigate, "Previous Year", "Ctrl+P", &TExpenseForm::PrevYear);
  acHelp = menus->addAction(QStringLiteral("Help"));
  connect(acHelp, &QAction::triggered, this, [this]() { OpenHelp(s_, kExpensesHelp); });
}

bool TExpenseForm::Start(int n, int year) {
  if (!editor_.Start(n, year)) return false;
  closed_ = false;
  ShowEditor();
  return true;
}

void TExpenseForm::ShowEditor() {
  filling_ = true;
  CBProp->setCurrentIndex(CBProp->findData(editor_.Property()));
  CBYear->clear();
  for (const int y : editor_.Years()) CBYear->addItem(QString::number(y), y);
  CBYear->setCurrentIndex(CBYear->findData(editor_.ShownYear()));
  const std::vector<std::string> names = editor_.CategoryNames();
  SGrid->setRowCount(static_cast<int>(editor_.cells.size()));
  for (int r = 0; r < SGrid->rowCount(); ++r) {
    auto* name =
        new QTableWidgetItem(r < static_cast<int>(names.size()) ? ToQ(names[static_cast<size_t>(r)]) : QString());
    name->setFlags(Qt::ItemIsEnabled);
    SGrid->setItem(r, 0, name);
    for (int m = 0; m < 12; ++m) {
      auto* cell = new QTableWidgetItem(ToQ(editor_.cells[static_cast<size_t>(r)][static_cast<size_t>(m)]));
      cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      SGrid->setItem(r, m + 1, cell);
    }
  }
  const bool ro = editor_.ReadOnly();
  SGrid->setEditTriggers(ro ? QAbstractItemView::NoEditTriggers
                            : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  for (QAction* a : {acSave, acSaveExit, acImport}) a->setEnabled(!ro);
  bClear->setEnabled(!ro);
  readOnlyLabel->setText(!ro                       ? QString()
                         : editor_.HeldElsewhere() ? QStringLiteral("Read only: in use by another user")
                                                   : QStringLiteral("Read only"));
  if (SGrid->rowCount() > 0 && SGrid->currentColumn() < 1) SGrid->setCurrentCell(0, 1);
  filling_ = false;
}

void TExpenseForm::CellChanged(int row, int column) {
  if (filling_ || column < 1) return;
  cellRefused_ = !editor_.CellTyped(row, column - 1, FromQ(SGrid->item(row, column)->text()));
  if (cellRefused_) {
    SGrid->setCurrentCell(row, column);
    SGrid->setFocus();
  }
}

void TExpenseForm::EnterPressed() {
  const int row = SGrid->currentRow(), column = SGrid->currentColumn();
  if (cellRefused_) {
    cellRefused_ = false;
    return;
  }
  if (column >= 1 && column < 12)
    SGrid->setCurrentCell(row, column + 1);
  else if (row + 1 < SGrid->rowCount())
    SGrid->setCurrentCell(row + 1, 1);
}

void TExpenseForm::PropertyChosen(int index) {
  if (filling_ || index < 0) return;
  editor_.SelectProperty(CBProp->itemData(index).toInt());
  // On a failed save the box returns to the property shown.
  ShowEditor();
}

void TExpenseForm::YearChosen(int index) {
  if (filling_ || index < 0) return;
  editor_.SelectYear(CBYear->itemData(index).toInt());
  ShowEditor();
}

void TExpenseForm::StepProperty(int delta) {
  CommitTyping();
  if (editor_.StepProperty(delta)) ShowEditor();
}

void TExpenseForm::NextProperty() { StepProperty(+1); }
void TExpenseForm::PrevProperty() { StepProperty(-1); }

void TExpenseForm::NextYear() {
  CommitTyping();
  if (editor_.StepYear(+1)) ShowEditor();
}

void TExpenseForm::PrevYear() {
  CommitTyping();
  if (editor_.StepYear(-1)) ShowEditor();
}

void TExpenseForm::ClearClick() {
  CommitTyping();
  editor_.Clear();
  ShowEditor();
}

void TExpenseForm::CommitTyping() { static_cast<ExpenseGrid*>(SGrid)->CommitEdit(); }

void TExpenseForm::Save() {
  CommitTyping();
  editor_.Save();
}

void TExpenseForm::SaveAndExit() {
  CommitTyping();
  if (editor_.Save()) close();
}

void TExpenseForm::ExportCsv() {
  CommitTyping();
  editor_.Export();
}

void TExpenseForm::ImportYear() {
  CommitTyping();
  if (editor_.Import([this]() { return chooseImportFile ? chooseImportFile().toStdString() : std::string(); }))
    ShowEditor();
}

bool TExpenseForm::Closing() {
  if (closed_) return true;
  CommitTyping();
  if (!editor_.CanClose()) return false;
  closed_ = true;
  editor_.Release();
  return true;
}

void TExpenseForm::closeEvent(QCloseEvent* event) {
  if (Closing())
    QDialog::closeEvent(event);
  else
    event->ignore();
}

void TExpenseForm::reject() {
  if (Closing()) QDialog::reject();
}

}  // namespace tb
