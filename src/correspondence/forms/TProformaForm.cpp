#include "correspondence/forms/TProformaForm.h"

#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/forms/ListWindow.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {
constexpr int kNarrowest = 540;
}

TProformaForm::TProformaForm(Session& s, int n, QWidget* parent)
    : QDialog(parent), s_(s), n_(n >= 1 && n <= s.NumProps() ? n : 0) {
  setWindowTitle(QStringLiteral("Manage Letter Proformas"));
  auto* layout = new QVBoxLayout(this);
  heading = new QLabel(this);
  hint = new QLabel(this);
  if (n_ > 0) {
    heading->setText(ToQ("Listed below are all proformas found that apply to property " + s_.Prop(n_).PropName));
    hint->hide();
  } else {
    heading->setText(QStringLiteral("WARNING: Only shared Proformas are visible."));
    hint->setText(QStringLiteral("Open Manage Proforma Window by right clicking over the property name to see all proformas."));
    QPalette warning = heading->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    heading->setPalette(warning);
  }
  layout->addWidget(heading);
  layout->addWidget(hint);
  layout->addWidget(new QLabel(QStringLiteral("Click a proforma to edit it. Right-click to copy, rename or delete it."), this));

  list = FlatList(this,
                  {QStringLiteral("No"), QStringLiteral("Description"), QStringLiteral("Delivery"),
                   QStringLiteral("Folder"), QStringLiteral("File Name"), QStringLiteral("Type"),
                   QStringLiteral("Last modified")},
                  {40, 190, 60, 220, 100, 110, 90});
  list->setMinimumHeight(240);
  layout->addWidget(list);

  menu = new QMenu(this);
  acEdit = menu->addAction(QStringLiteral("Edit Proforma"));
  menu->addSeparator();
  acCopyShared = menu->addAction(QStringLiteral("Copy as shared proforma"));
  acCopyProperty = menu->addAction(QStringLiteral("Copy as property specific"));
  acRename = menu->addAction(QStringLiteral("Rename proforma"));
  menu->addSeparator();
  acDelete = menu->addAction(QStringLiteral("Delete proforma"));
  // Without a property there is no folder to copy into.
  acCopyProperty->setEnabled(n_ > 0);

  layout->addLayout(CloseAndHelp(this, [this]() { OpenHelp(s_, kProformaWindowHelp); }));

  const int width = s_.prefs.ProformaWidth();
  resize(width > kNarrowest ? width : 860, 380);
  Fill();

  connect(list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Click(list->indexOfTopLevelItem(item)); });
  connect(list, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu->popup(list->viewport()->mapToGlobal(at)); });
  connect(acEdit, &QAction::triggered, this, &TProformaForm::EditAsText);
  connect(acCopyShared, &QAction::triggered, this, [this]() { Copy(ProformaCopy::Shared); });
  connect(acCopyProperty, &QAction::triggered, this, [this]() { Copy(ProformaCopy::PropertySpecific); });
  connect(acRename, &QAction::triggered, this, [this]() { Copy(ProformaCopy::Rename); });
  connect(acDelete, &QAction::triggered, this, &TProformaForm::Delete);
}

void TProformaForm::Fill() {
  rows_ = ProformaRows(s_, n_);
  list->clear();
  for (const ProformaRow& r : rows_) {
    auto* item = new QTreeWidgetItem;
    if (r.heading) {
      item->setText(1, ToQ(r.description));
      QFont bold = item->font(1);
      bold.setBold(true);
      item->setFont(1, bold);
    } else {
      const std::string texts[] = {r.no, r.description, r.delivery};
      for (int c = 0; c < 3; ++c) item->setText(c, ToQ(texts[c]));
      item->setText(3, QString::fromStdString(r.folder));
      item->setText(4, QString::fromStdString(r.fileName));
      item->setText(5, ToQ(r.typeText));
      item->setText(6, ToQ(r.modified));
    }
    list->addTopLevelItem(item);
  }
}

void TProformaForm::Refill() {
  Fill();
  ShowWarnings();
}

void TProformaForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (warned_) return;
  warned_ = true;
  QTimer::singleShot(0, this, &TProformaForm::ShowWarnings);
}

void TProformaForm::ShowWarnings() {
  for (const std::string& warning : ProformaWarnings(rows_)) {
    s_.dialogs.Beep();
    s_.dialogs.Message(warning, MsgIcon::Error, MsgButton::OK | MsgButton::Help, kProformaWindowHelp);
  }
}

void TProformaForm::done(int result) {
  s_.prefs.SetProformaWidth(static_cast<uint16_t>(std::clamp(width(), 0, 65535)));
  QDialog::done(result);
}

int TProformaForm::Selected() const {
  QTreeWidgetItem* item = list->currentItem();
  return item && item->isSelected() ? list->indexOfTopLevelItem(item) : -1;
}

const ProformaRow* TProformaForm::SelectedRow() const {
  const int row = Selected();
  if (row < 0 || rows_[static_cast<size_t>(row)].heading) return nullptr;
  return &rows_[static_cast<size_t>(row)];
}

void TProformaForm::Click(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  list->setCurrentItem(list->topLevelItem(row));
  EditProforma(s_, rows_, static_cast<size_t>(row));
}

void TProformaForm::EditAsText() {
  const ProformaRow* r = SelectedRow();
  if (!r) return;
  if (r->kind == ProformaKind::Htm) EditProformaWithTextEditor(s_, *r);
  else EditProforma(s_, rows_, static_cast<size_t>(Selected()));
}

void TProformaForm::Copy(ProformaCopy how) {
  const ProformaRow* r = SelectedRow();
  if (!r || (how == ProformaCopy::PropertySpecific && n_ == 0)) return;
  const ProformaRow row = *r;  // the list is filled again
  if (CopyProforma(s_, row, how, n_)) Refill();
}

void TProformaForm::Delete() {
  const ProformaRow* r = SelectedRow();
  if (!r) return;
  const ProformaRow row = *r;
  if (DeleteProforma(s_, row)) Refill();
}

}  // namespace tb
