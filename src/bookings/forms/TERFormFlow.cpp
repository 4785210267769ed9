// The rates window's flow: the fields copied to and from the rates editor, the checks
// on leaving a field, the commands and closing.

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>

#include "bookings/forms/TERForm.h"
#include "platform/forms/CloseHook.h"
#include "platform/forms/QtFields.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

bool TERForm::Load(int n, int year) {
  if (!editor_.Load(n, year)) return false;
  closed_ = false;
  Loaded();
  return true;
}

void TERForm::Loaded() {
  const bool ro = editor_.ReadOnly();
  setWindowTitle(ToQ(editor_.Caption()));
  heading->setText(ToQ(editor_.Heading()));
  fuelBox_->setVisible(editor_.HasFuel());
  linenRow_->setVisible(editor_.HasLinen());
  lReadOnly->setVisible(ro);
  for (int r = 0; r < 53; ++r) {
    WeekRow& w = weeks[static_cast<size_t>(r)];
    w.label->setText(ToQ(editor_.WeekLabel(r)));
    w.fuel->setVisible(editor_.HasFuel());
    // Only the year's own weeks can be edited.
    const bool inYear = r < editor_.Weeks();
    for (QLineEdit* e : {w.cost, w.comment, w.fuel}) e->setEnabled(inYear);
    w.label->setEnabled(inYear);
  }
  for (QLineEdit* e : findChildren<QLineEdit*>()) e->setReadOnly(ro);
  for (QWidget* w : std::initializer_list<QWidget*>{increase, decrease, bChange, bTemplate, bSaveExit})
    w->setEnabled(!ro);
  for (QAction* a : {acSaveExit, acImport, acTemplate, acDelete, acPasteLine, acDuplicateLine, acDuplicateField})
    a->setEnabled(!ro);
  acPasteLine->setEnabled(!ro && editor_.LineCopied());
  ShowFields();
}

void TERForm::ReadFields() {
  RatesFields& f = editor_.fields;
  for (size_t i = 0; i < band.size(); ++i) f.band[i] = FromQ(band[i]->text());
  for (size_t i = 0; i < fuelCost.size(); ++i) f.fuelCost[i] = FromQ(fuelCost[i]->text());
  f.linen = FromQ(linen->text());
  f.minCost = FromQ(minCost->text());
  f.percent = FromQ(percent->text());
  f.increase = increase->isChecked();
  for (size_t r = 0; r < weeks.size(); ++r) {
    f.weeks[r].cost = FromQ(weeks[r].cost->text());
    f.weeks[r].comment = FromQ(weeks[r].comment->text());
    f.weeks[r].fuel = FromQ(weeks[r].fuel->text());
  }
}

void TERForm::ShowFields() {
  ready_ = false;
  const RatesFields& f = editor_.fields;
  for (size_t i = 0; i < band.size(); ++i) Put(band[i], f.band[i]);
  for (size_t i = 0; i < fuelCost.size(); ++i) Put(fuelCost[i], f.fuelCost[i]);
  Put(linen, f.linen);
  Put(minCost, f.minCost);
  Put(percent, f.percent);
  (f.increase ? increase : decrease)->setChecked(true);
  for (size_t r = 0; r < weeks.size(); ++r) {
    Put(weeks[r].cost, f.weeks[r].cost);
    Put(weeks[r].comment, f.weeks[r].comment);
    Put(weeks[r].fuel, f.weeks[r].fuel);
  }
  lUpdated->setText(ToQ(editor_.UpdatedText()));
  // Another year only once this one is saved or unchanged.
  acNextYear->setEnabled(!editor_.Modified());
  acPrevYear->setEnabled(!editor_.Modified());
  acPasteLine->setEnabled(!editor_.ReadOnly() && editor_.LineCopied());
  ready_ = !closed_;
}

void TERForm::Edited() {
  if (!ready_) return;
  editor_.FieldChanged();
  acNextYear->setEnabled(!editor_.Modified());
  acPrevYear->setEnabled(!editor_.Modified());
}

// ---- Fields and keys ------------------------------------------------------------------

std::pair<int, RateColumn> TERForm::RowOf(const QWidget* w) const {
  for (int r = 0; r < 53; ++r) {
    const WeekRow& row = weeks[static_cast<size_t>(r)];
    if (w == row.cost) return {r, RateColumn::Cost};
    if (w == row.comment) return {r, RateColumn::Comment};
    if (w == row.fuel) return {r, RateColumn::Fuel};
  }
  return {-1, RateColumn::Cost};
}

QLineEdit* TERForm::Cell(int row, RateColumn column) const {
  const WeekRow& w = weeks[static_cast<size_t>(row)];
  switch (column) {
    case RateColumn::Cost: return w.cost;
    case RateColumn::Comment: return w.comment;
    case RateColumn::Fuel: return w.fuel;
  }
  return w.cost;
}

bool TERForm::KindOf(const QWidget* w, RateFieldKind& kind) const {
  if (w == percent) {
    kind = RateFieldKind::Percent;
    return true;
  }
  const auto [row, column] = RowOf(w);
  if (row >= 0) {
    if (column == RateColumn::Comment) return false;
    kind = column == RateColumn::Fuel ? RateFieldKind::Fuel : RateFieldKind::Number;
    return true;
  }
  kind = RateFieldKind::Number;
  for (const QLineEdit* e : band)
    if (w == e) return true;
  for (const QLineEdit* e : fuelCost)
    if (w == e) return true;
  return w == linen || w == minCost;
}

bool TERForm::CheckField(QLineEdit* field) {
  RateFieldKind kind;
  if (!field || field->isReadOnly() || !field->isEnabled() || !field->isVisibleTo(this) || !KindOf(field, kind))
    return true;
  const std::string error = RatesEditor::FieldError(kind, FromQ(field->text()));
  if (error.empty()) return true;
  checking_ = true;
  const QPalette normal = field->palette();
  QPalette red = normal;
  red.setColor(QPalette::Base, QColor(255, 200, 200));
  field->setPalette(red);
  editor_.ShowFieldError(error);
  field->setPalette(normal);
  field->setFocus(Qt::OtherFocusReason);
  checking_ = false;
  return false;
}

void TERForm::FocusInvalidField() {
  const RateFieldRef& f = editor_.invalidField;
  const auto i = static_cast<size_t>(f.index);
  QLineEdit* field = nullptr;
  switch (f.which) {
    case RateFieldRef::None: return;
    case RateFieldRef::Band: field = band[i]; break;
    case RateFieldRef::MinCost: field = minCost; break;
    case RateFieldRef::Linen: field = linen; break;
    case RateFieldRef::FuelCost: field = fuelCost[i]; break;
    case RateFieldRef::WeekCost: field = weeks[i].cost; break;
    case RateFieldRef::WeekFuel: field = weeks[i].fuel; break;
  }
  const bool wasChecking = checking_;
  checking_ = true;  // moving the focus to it is not leaving the field being edited
  field->setFocus(Qt::OtherFocusReason);
  checking_ = wasChecking;
}

int TERForm::HelpContext(const QWidget* w) const {
  for (const QLineEdit* e : band)
    if (w == e) return 420;
  for (const QLineEdit* e : fuelCost)
    if (w == e) return 430;
  if (w == linen) return 440;
  if (w == minCost) return 442;
  return kRatesWindowHelp;
}

void TERForm::FocusMoved(QWidget* from, QWidget* to) {
  if (!ready_ || closed_ || checking_ || !from || !to || !isAncestorOf(from) || !isAncestorOf(to)) return;
  CheckField(qobject_cast<QLineEdit*>(from));
}

bool TERForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const auto [row, column] = RowOf(static_cast<QWidget*>(watched));
    if (row >= 0 && (key == Qt::Key_Up || key == Qt::Key_Down)) {
      const int to = row + (key == Qt::Key_Up ? -1 : 1);
      if (to >= 0 && to < editor_.Weeks()) Cell(to, column)->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- Commands -------------------------------------------------------------------------

void TERForm::SaveExit() {
  if (closed_ || editor_.ReadOnly()) return;
  // The field being typed into is checked first, as leaving it would.
  if (!CheckField(qobject_cast<QLineEdit*>(QApplication::focusWidget()))) return;
  ReadFields();
  if (!editor_.Save()) {
    ShowFields();
    FocusInvalidField();
    return;
  }
  Closed();
  close();
}

void TERForm::StepYear(int delta) {
  if (closed_ || editor_.Modified()) return;
  editor_.StepYear(delta);
  Loaded();
}

void TERForm::GlobalChange() {
  if (!CheckField(percent)) return;
  ReadFields();
  editor_.GlobalChange();
  ShowFields();
}

void TERForm::Import() {
  ReadFields();
  if (editor_.ReadOnly() || !editor_.DiscardChanges()) return;
  const QString path = chooseImportFile ? chooseImportFile() : QString();
  if (path.isEmpty()) return;
  editor_.Import(path.toStdString());
  ShowFields();
}

void TERForm::CopyFromTemplate() {
  ReadFields();
  if (editor_.ReadOnly() || !editor_.DiscardChanges() || !pickTemplate) return;
  const auto [q, linesOnly] = pickTemplate();
  if (q < 1) return;
  editor_.CopyFrom(q, linesOnly);
  ShowFields();
}

void TERForm::DeleteCurrentFile() {
  if (!editor_.DeleteFile()) return;
  Closed();
  close();
}

void TERForm::PrintForm() { PrintWindowImage(s_, *this, printCanvas, editor_.Caption()); }

void TERForm::CopyLine() {
  const int row = RowOf(QApplication::focusWidget()).first;
  ReadFields();
  editor_.CopyLine(row);
  ShowFields();
}

void TERForm::PasteLine() {
  const int row = RowOf(QApplication::focusWidget()).first;
  ReadFields();
  editor_.PasteLine(row);
  ShowFields();
}

void TERForm::DuplicateLine() {
  const int row = RowOf(QApplication::focusWidget()).first;
  ReadFields();
  const bool done = editor_.DuplicateLine(row);
  ShowFields();
  if (done) weeks[static_cast<size_t>(row + 1)].cost->setFocus(Qt::OtherFocusReason);
}

void TERForm::DuplicateField() {
  const auto [row, column] = RowOf(QApplication::focusWidget());
  ReadFields();
  const bool done = editor_.DuplicateField(row, column);
  ShowFields();
  if (done) Cell(row + 1, column)->setFocus(Qt::OtherFocusReason);
}

// ---- Closing --------------------------------------------------------------------------

void TERForm::Closed() {
  closed_ = true;
  ready_ = false;
}

void TERForm::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    ReadFields();
    if (!editor_.Close()) {
      ShowFields();
      FocusInvalidField();
      event->ignore();
      return;
    }
    Closed();
  }
  event->accept();
  RunCloseHook(onClosed);
}

}  // namespace tb
