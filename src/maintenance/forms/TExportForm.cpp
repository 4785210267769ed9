#include "maintenance/forms/TExportForm.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "maintenance/Export.h"
#include "maintenance/forms/ExportItemList.h"
#include "platform/PathText.h"
#include "platform/forms/QtDate.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {

QTreeWidgetItem* ItemRow(const ExportItem& item) {
  auto* row = new QTreeWidgetItem;
  row->setText(0, ToQ(item.heading));
  row->setText(1, QString::asprintf("%02d", item.code));
  row->setData(1, Qt::UserRole, item.code);
  return row;
}

std::vector<ExportItem> ListedItems(const QTreeWidget* list) {
  std::vector<ExportItem> items;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = list->topLevelItem(i);
    items.push_back({row->data(1, Qt::UserRole).toInt(), FromQ(row->text(0))});
  }
  return items;
}

QDateEdit* DatePicker(QWidget* parent) {
  auto* picker = new QDateEdit(parent);
  picker->setCalendarPopup(true);
  picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  return picker;
}

}  // namespace

TExportForm::TExportForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("Export"));
  auto* layout = new QHBoxLayout(this);

  auto* left = new QVBoxLayout;
  LB = new QListWidget(this);
  LB->setSelectionMode(QAbstractItemView::ExtendedSelection);
  LB->setToolTip(QStringLiteral("Select one or more properties to analyse"));
  FillPropertyList(s_, *LB, 10, false);
  for (int i = 0; i < LB->count(); ++i) LB->item(i)->setSelected(true);
  left->addWidget(LB);
  auto* dates = new QGridLayout;
  ExStart = DatePicker(this);
  ExEnd = DatePicker(this);
  dates->addWidget(new QLabel(QStringLiteral("Export bookings ending after:"), this), 0, 0);
  dates->addWidget(ExStart, 0, 1);
  dates->addWidget(new QLabel(QStringLiteral("    ... and which start before:"), this), 1, 0);
  dates->addWidget(ExEnd, 1, 1);
  left->addLayout(dates);
  cbHdr = new QCheckBox(QStringLiteral("List Property Name in header"), this);
  left->addWidget(cbHdr);
  auto* buttons = new QGridLayout;
  exportButton = new QPushButton(QStringLiteral("Export"), this);
  exportAllButton = new QPushButton(QStringLiteral("Export all"), this);
  exportRatesButton = new QPushButton(QStringLiteral("Export Rates"), this);
  saveButton = new QPushButton(QStringLiteral("Save Template"), this);
  closeButton = new QPushButton(QStringLiteral("Close"), this);
  buttons->addWidget(exportButton, 0, 0);
  buttons->addWidget(exportAllButton, 0, 1);
  buttons->addWidget(exportRatesButton, 0, 2);
  buttons->addWidget(saveButton, 1, 0);
  buttons->addWidget(closeButton, 1, 2);
  left->addLayout(buttons);
  auto* logBox = new QGroupBox(QStringLiteral("Output Log"), this);
  auto* logLayout = new QVBoxLayout(logBox);
  Memo1 = new QPlainTextEdit(logBox);
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  logLayout->addWidget(Memo1);
  left->addWidget(logBox, 1);
  layout->addLayout(left, 1);

  auto* right = new QVBoxLayout;
  auto* boxRow = new QHBoxLayout;
  boxRow->addWidget(new QLabel(QStringLiteral("Template File for export: "), this));
  TFileBox = new QComboBox(this);
  TFileBox->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* deleteTemplate = new QAction(QStringLiteral("Delete selected template"), TFileBox);
  auto* renameTemplate = new QAction(QStringLiteral("Rename selected template"), TFileBox);
  TFileBox->addAction(deleteTemplate);
  TFileBox->addAction(renameTemplate);
  boxRow->addWidget(TFileBox, 1);
  right->addLayout(boxRow);
  LV = MakeList(QStringLiteral("List of items to export"));
  right->addWidget(LV, 3);
  LV1 = MakeList(QStringLiteral("Items not included (drag to export list)"));
  right->addWidget(LV1, 2);
  layout->addLayout(right, 1);
  resize(860, 640);

  connect(exportButton, &QPushButton::clicked, this, &TExportForm::Export);
  connect(exportAllButton, &QPushButton::clicked, this, &TExportForm::ExportAll);
  connect(exportRatesButton, &QPushButton::clicked, this, &TExportForm::ExportRates);
  connect(saveButton, &QPushButton::clicked, this, &TExportForm::SaveTemplate);
  connect(closeButton, &QPushButton::clicked, this, &TExportForm::close);
  connect(deleteTemplate, &QAction::triggered, this, &TExportForm::DeleteTemplate);
  connect(renameTemplate, &QAction::triggered, this, &TExportForm::RenameTemplate);

  TDateTime from = 0, to = 0;
  StoredExportRange(s_, from, to);
  ExStart->setDate(ToQDate(from));
  ExEnd->setDate(ToQDate(to));
  cbHdr->setChecked(s_.prefs.CsvHeader());
  FillTemplateBox("");
  if (TFileBox->count() == 0) s_.dialogs.Message("Error - No control files found", MsgIcon::Error, MsgButton::OK);
  connect(TFileBox, &QComboBox::currentIndexChanged, this, &TExportForm::LoadSelectedTemplate);
  MarkChanged(false);
}

ExportItemList* TExportForm::MakeList(const QString& title) {
  auto* list = new ExportItemList(this);
  list->setHeaderLabels({title, QStringLiteral("No")});
  list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list->header()->setStretchLastSection(false);
  list->dropped = [this, list](QTreeWidget* from, int row, int before) { MoveItem(from, row, list, before); };
  auto* rename = new QAction(QStringLiteral("Rename item"), list);
  list->addAction(rename);
  connect(rename, &QAction::triggered, this, [this, list]() { RenameItem(list); });
  return list;
}

void TExportForm::FillTemplateBox(const std::string& select) {
  const QSignalBlocker quiet(TFileBox);
  TFileBox->clear();
  for (const std::string& name : TemplateNames(s_)) TFileBox->addItem(ToQ(name));
  const int at = TFileBox->findText(ToQ(select));
  TFileBox->setCurrentIndex(at >= 0 ? at : 0);
}

void TExportForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restored after being minimised: the user's unsaved changes stay.
  if (event->spontaneous()) return;
  Memo1->clear();
  Log({"Selected properties will be exported to CSV file: " + PathText(BookingsExportPath(s_))});
  LoadSelectedTemplate();
}

bool TExportForm::MayClose() {
  StoreExportChoices(s_, FromQDate(ExStart->date()), FromQDate(ExEnd->date()), cbHdr->isChecked());
  return !changed_ || s_.dialogs.Message("Template changed - quit and lose changes?\r(Cancel returns to the form)",
                                         MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) == MsgButton::Yes;
}

void TExportForm::closeEvent(QCloseEvent* event) {
  if (!MayClose()) {
    event->ignore();
    return;
  }
  // QDialog's close goes through done(): asked once is enough.
  asked_ = true;
  QDialog::closeEvent(event);
  asked_ = false;
}

void TExportForm::done(int result) {
  if (!asked_ && !MayClose()) return;
  QDialog::done(result);
}

void TExportForm::LoadSelectedTemplate() {
  template_ = FromQ(TFileBox->currentText());
  ExportTemplate t;
  if (!template_.empty()) LoadExportTemplate(s_, template_, t);
  ShowTemplate(t);
  MarkChanged(false);
}

void TExportForm::ShowTemplate(const ExportTemplate& t) {
  LV->clear();
  LV1->clear();
  for (const ExportItem& item : t.exported) LV->addTopLevelItem(ItemRow(item));
  for (const ExportItem& item : t.optional) LV1->addTopLevelItem(ItemRow(item));
}

void TExportForm::MarkChanged(bool changed) {
  changed_ = changed;
  saveButton->setEnabled(changed);
}

ExportTemplate TExportForm::ListedTemplate() const { return {ListedItems(LV), ListedItems(LV1)}; }

void TExportForm::MoveItem(QTreeWidget* from, int row, QTreeWidget* to, int before) {
  if (row < 0 || row >= from->topLevelItemCount()) return;
  if (from == to && (before == row || (before < 0 && row == from->topLevelItemCount() - 1))) return;
  QTreeWidgetItem* item = from->takeTopLevelItem(row);
  if (from == to && before > row) --before;
  if (before < 0 || before > to->topLevelItemCount()) before = to->topLevelItemCount();
  to->insertTopLevelItem(before, item);
  to->setCurrentItem(item);
  MarkChanged(true);
}

void TExportForm::RenameItem(QTreeWidget* list) {
  QTreeWidgetItem* item = list->currentItem();
  if (!item) return;
  std::string heading = FromQ(item->text(0));
  if (!s_.dialogs.InputQuery("Rename Item", "Enter new name", heading)) return;
  item->setText(0, ToQ(heading));
  s_.dialogs.Beep();
  MarkChanged(true);
}

std::vector<int> TExportForm::SelectedProperties() const {
  std::vector<int> properties;
  for (int i = 0; i < LB->count(); ++i)
    if (LB->item(i)->isSelected()) properties.push_back(LB->item(i)->data(Qt::UserRole).toInt());
  std::sort(properties.begin(), properties.end());
  return properties;
}

ExportRun TExportForm::Run() const {
  ExportRun run;
  run.properties = SelectedProperties();
  run.from = FromQDate(ExStart->date());
  run.to = FromQDate(ExEnd->date());
  run.header = cbHdr->isChecked();
  return run;
}

void TExportForm::Log(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) Memo1->appendPlainText(ToQ(line));
}

void TExportForm::Export() {
  std::vector<std::string> log;
  if (tb::ExportBookings(s_, ListedTemplate(), Run(), log) == ExportOutcome::Written)
    s_.processes.ShellOpen(BookingsExportPath(s_));
  Log(log);
}

void TExportForm::ExportAll() {
  std::vector<std::string> log;
  if (tb::ExportAll(s_, Run(), log) == ExportOutcome::Written) s_.processes.ShellOpen(BookingsExportPath(s_));
  Log(log);
}

void TExportForm::ExportRates() {
  std::vector<std::string> log;
  tb::ExportRates(s_, SelectedProperties(), log);
  Log(log);
}

void TExportForm::SaveTemplate() {
  const std::string saved = SaveExportTemplate(s_, template_, ListedTemplate());
  if (saved.empty()) return;
  template_ = saved;
  FillTemplateBox(saved);
  MarkChanged(false);
}

void TExportForm::DeleteTemplate() {
  if (template_.empty() || !DeleteExportTemplate(s_, template_)) return;
  FillTemplateBox("");
  LoadSelectedTemplate();
}

void TExportForm::RenameTemplate() {
  if (template_.empty()) return;
  const std::string renamed = RenameExportTemplate(s_, template_);
  if (renamed.empty()) return;
  template_ = renamed;
  const QSignalBlocker quiet(TFileBox);
  TFileBox->setItemText(TFileBox->currentIndex(), ToQ(renamed));
}

}  // namespace tb
