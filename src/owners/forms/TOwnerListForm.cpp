#include "owners/forms/TOwnerListForm.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "owners/OwnerDB.h"
#include "owners/forms/TOwnerStatsForm.h"
#include "platform/Format.h"
#include "platform/Text.h"
#include "platform/forms/ListWindow.h"
#include "platform/forms/QtText.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kOwnerHelp = 900;

bool HasAddress(const OwnerListRow& r) { return !TrimView(r.eMail).empty(); }

QString Number(int n) { return QString::number(n); }

}  // namespace

TOwnerListForm::TOwnerListForm(Session& s, Mode mode, QWidget* parent) : QDialog(parent), s_(s), mode_(mode) {
  setWindowTitle(QStringLiteral("Owner List"));
  setModal(true);
  BuildControls();
  BuildCommands();
}

TOwnerListForm::~TOwnerListForm() {
  // Closed without done() (the window destroyed while shown): the lock still goes.
  if (held_ && !Owners(s_).readOnly) ReleaseOwnerDB(s_);
}

void TOwnerListForm::BuildControls() {
  const bool email = mode_ == Mode::Email;
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  lTitle = new QLabel(email ? QStringLiteral("Check names to be included.  Then click SEND")
                            : QStringLiteral("List of Owners"),
                      this);
  QFont bold = lTitle->font();
  bold.setBold(true);
  lTitle->setFont(bold);
  lReadOnly = new QLabel(QStringLiteral("Read Only"), this);
  lReadOnly->setFont(bold);
  lReadOnly->setStyleSheet(QStringLiteral("color: #c00000"));
  lReadOnly->hide();
  top->addWidget(lTitle);
  top->addStretch();
  top->addWidget(lReadOnly);
  layout->addLayout(top);

  list = FlatList(this,
                  {QStringLiteral("ID"), QStringLiteral("NP"), QStringLiteral("Name"), QStringLiteral("Phone"),
                   QStringLiteral("eMail"), QStringLiteral("Address"), QStringLiteral("DateU"),
                   QStringLiteral("Comment"), QStringLiteral("Index")},
                  {email ? 60 : 45, 35, 160, 110, 170, 230, 80, email ? 205 : 220, 45});
  list->setSelectionMode(email ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
  list->header()->setSectionsClickable(true);
  list->header()->setSortIndicatorShown(false);
  list->setMinimumSize(600, 300);
  layout->addWidget(list, 1);

  auto* buttons = new QHBoxLayout;
  const auto button = [this, buttons](const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  bAdd = button("Add new owner");
  bUncheck = button("Uncheck all");
  bCheck = button("Check all");
  bSend = button("Send email");
  buttons->addStretch();
  bStats = button("Owner Statistics");
  QPushButton* close = button("Close");
  bAdd->setVisible(!email);
  for (QPushButton* b : {bUncheck, bCheck, bSend}) b->setVisible(email);
  layout->addLayout(buttons);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  for (QLabel*& p : panel) {
    p = new QLabel(this);
    p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  status->addWidget(panel[0], 1);
  status->addWidget(panel[1], 1);
  status->addWidget(panel[2], 2);
  panel[1]->setVisible(!email);
  panel[2]->setVisible(!email);
  layout->addWidget(status);
  resize(1130, 480);  // every column in view

  connect(bAdd, &QPushButton::clicked, this, &TOwnerListForm::AddOwner);
  connect(bUncheck, &QPushButton::clicked, this, &TOwnerListForm::UncheckAll);
  connect(bCheck, &QPushButton::clicked, this, &TOwnerListForm::CheckAll);
  connect(bSend, &QPushButton::clicked, this, &TOwnerListForm::SendEmail);
  connect(bStats, &QPushButton::clicked, this, &TOwnerListForm::ShowStatistics);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(list->header(), &QHeaderView::sectionClicked, this, &TOwnerListForm::SortBy);
  connect(list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column == 0 && !filling_) Ticked(item);
  });
  connect(list, &QTreeWidget::itemSelectionChanged, this, &TOwnerListForm::ShowSelection);
}

void TOwnerListForm::BuildCommands() {
  menu = new QMenu(this);
  acEdit = menu->addAction(QStringLiteral("Edit"));
  acEdit->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
  acDelete = menu->addAction(QStringLiteral("Delete"));
  acDelete->setShortcuts({QKeySequence(QStringLiteral("Ctrl+D")), QKeySequence(Qt::Key_Delete)});
  if (mode_ != Mode::List) return;  // the e-mail mode has no menu
  for (QAction* a : {acEdit, acDelete}) {
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  }
  connect(acEdit, &QAction::triggered, this, &TOwnerListForm::EditSelected);
  connect(acDelete, &QAction::triggered, this, &TOwnerListForm::DeleteSelected);
  connect(list, &QTreeWidget::itemDoubleClicked, this, &TOwnerListForm::EditSelected);
  connect(list, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu->popup(list->viewport()->mapToGlobal(at)); });
}

void TOwnerListForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous() && !held_) Open();
}

void TOwnerListForm::Open() {
  OpenOwnerDB(s_, true);
  held_ = true;
  const bool readOnly = Owners(s_).readOnly;
  lReadOnly->setVisible(readOnly);
  layout()->activate();
  bAdd->setEnabled(!readOnly);
  acDelete->setEnabled(!readOnly);
  sortColumn_ = -1;
  descending_ = false;
  Fill();
  if (mode_ == Mode::Email) SetTicks(true);
}

void TOwnerListForm::done(int result) {
  Release();
  QDialog::done(result);
}

void TOwnerListForm::Release() {
  if (!held_) return;
  held_ = false;
  if (Owners(s_).readOnly) return;
  if (!ReleaseOwnerDB(s_))
    s_.dialogs.Message("LOU: should not occur - file not locked", MsgIcon::Error, MsgButton::OK);
}

void TOwnerListForm::Fill() {
  table_ = OwnerListRows(s_);
  ticked_.resize(table_.rows.size(), false);
  if (sortColumn_ >= 0) SortOwnerListRows(table_.rows, static_cast<OwnerColumn>(sortColumn_), descending_);
  ShowRows();
  ShowCounts();
}

void TOwnerListForm::ShowRows() {
  filling_ = true;
  list->clear();
  QList<QTreeWidgetItem*> items;
  for (const OwnerListRow& r : table_.rows) {
    auto* item = new QTreeWidgetItem;
    const QString texts[] = {Number(r.ID), Number(r.NP), ToQ(r.Name),    ToQ(r.Phone),   ToQ(r.eMail),
                             ToQ(r.Address), ToQ(r.DateU), ToQ(r.Comment), Number(r.Index)};
    for (int c = 0; c < 9; ++c) item->setText(c, texts[c]);
    for (int c : {0, 1, 8}) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    if (mode_ == Mode::Email) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(0, ticked_[static_cast<size_t>(r.Index)] ? Qt::Checked : Qt::Unchecked);
    }
    items.append(item);
  }
  list->addTopLevelItems(items);
  filling_ = false;
}

bool TOwnerListForm::Ticked(int row) const {
  return row >= 0 && row < static_cast<int>(table_.rows.size()) && ticked_[static_cast<size_t>(table_.rows[static_cast<size_t>(row)].Index)];
}

void TOwnerListForm::Ticked(QTreeWidgetItem* item) {
  const int row = list->indexOfTopLevelItem(item);
  if (row < 0) return;
  ticked_[static_cast<size_t>(table_.rows[static_cast<size_t>(row)].Index)] = item->checkState(0) == Qt::Checked;
  ShowCounts();
}

// everyAddress: tick the owners with an address (the others unticked); else none.
void TOwnerListForm::SetTicks(bool everyAddress) {
  for (const OwnerListRow& r : table_.rows) ticked_[static_cast<size_t>(r.Index)] = everyAddress && HasAddress(r);
  ShowRows();
  ShowCounts();
}

void TOwnerListForm::CheckAll() { SetTicks(true); }
void TOwnerListForm::UncheckAll() { SetTicks(false); }

void TOwnerListForm::ShowCounts() {
  const int total = static_cast<int>(table_.rows.size());
  if (mode_ == Mode::Email) {
    const int ticked = static_cast<int>(std::count(ticked_.begin(), ticked_.end(), true));
    panel[0]->setText(ToQ(Format("%d of %d names checked", {ticked, total})));
    return;
  }
  panel[0]->setText(ToQ(Format("%d entries in list", {total})));
  panel[1]->setText(ToQ(Format("%d owners have no properties", {OwnersWithoutProperties(table_.rows)})));
}

void TOwnerListForm::ShowSelection() {
  if (mode_ != Mode::List) return;
  const size_t n = SelectedRows().size();
  panel[2]->setText(n ? Number(static_cast<int>(n)) + QStringLiteral(" lines selected") : QString());
}

std::vector<int> TOwnerListForm::SelectedRows() const {
  std::vector<int> rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->isSelected()) rows.push_back(i);
  return rows;
}

void TOwnerListForm::SelectRow(int row) {
  const int count = list->topLevelItemCount();
  if (count == 0) return;
  list->setCurrentItem(list->topLevelItem(std::clamp(row, 0, count - 1)));
}

void TOwnerListForm::SortBy(int column) {
  if (column < 0 || column > static_cast<int>(OwnerColumn::Index)) return;
  descending_ = column == sortColumn_ ? !descending_ : false;
  sortColumn_ = column;
  SortOwnerListRows(table_.rows, static_cast<OwnerColumn>(column), descending_);
  ShowRows();
}

void TOwnerListForm::EditSelected() {
  const std::vector<int> selected = SelectedRows();
  if (mode_ != Mode::List || selected.size() != 1 || !editOwner) return;
  const int row = selected.front();
  // By the line's own position: owner numbers may be duplicated, positions never are.
  if (editOwner(OwnerFormMode::EditFromList, table_.rows[static_cast<size_t>(row)].Index + 1)) Fill();
  // The editor may have deleted the final owner, and the database with it.
  if (OwnerList(s_).empty()) {
    done(QDialog::Accepted);
    return;
  }
  SelectRow(row);
}

void TOwnerListForm::AddOwner() {
  if (mode_ != Mode::List || Owners(s_).readOnly || !editOwner) return;
  editOwner(OwnerFormMode::AddFromList, 0);
  Fill();
}

void TOwnerListForm::DeleteSelected() {
  const std::vector<int> selected = SelectedRows();
  if (mode_ != Mode::List || selected.empty()) return;
  OwnerDB& db = Owners(s_);
  if (db.readOnly) {
    s_.dialogs.Message(std::string("Cannot delete - owner file is opened readonly") + "\r" + "Try later",
                       MsgIcon::Warning, MsgButton::Abort);
    WriteLog(s_, "LOU: OwnerDB in use - cannot delete. Owners=" + std::to_string(db.Count()));
    return;
  }
  if (s_.dialogs.Message("Delete all selected owners?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No) !=
      MsgButton::Yes)
    return;
  std::vector<int> positions;
  for (const int row : selected) positions.push_back(table_.rows[static_cast<size_t>(row)].Index);
  const bool everyOwner = static_cast<int>(positions.size()) == db.Count();
  const OwnerDeletion d = DeleteOwners(s_, positions, OwnerDeleter::List);
  if (d.databaseGone) {
    if (onDatabaseGone) onDatabaseGone();
    s_.dialogs.Message("You deleted the final owner. There is no longer an Owner Database", MsgIcon::Information,
                       MsgButton::OK | MsgButton::Help, kOwnerHelp);
    reject();
    return;
  }
  if (everyOwner && !d.archiveFailed) {
    // The last owner was archived but its file stayed.
    s_.dialogs.Message("LOU-D: Should not occur - cannot delete owner DB", MsgIcon::Error, MsgButton::Abort);
    reject();
    return;
  }
  // Refilled even after a refused archive: what went is gone from the file too, and
  // every line's Index must point at the owner it shows.
  Fill();
  if (d.deleted > 0 && d.saved) {
    panel[2]->setText(ToQ("Deleted " + std::to_string(d.deleted) + " Owner(s)"));
    s_.dialogs.Beep();
  }
}

void TOwnerListForm::SendEmail() {
  if (mode_ != Mode::Email) return;
  std::vector<std::string> addresses;
  for (const OwnerListRow& r : table_.rows)
    if (ticked_[static_cast<size_t>(r.Index)]) addresses.emplace_back(r.eMail);
  if (addresses.empty()) {
    s_.dialogs.Message("Must check at least one line", MsgIcon::Error, MsgButton::OK);
    return;
  }
  s_.processes.ShellOpen(OwnersMailtoLink(addresses));
  s_.dialogs.Beep();
}

void TOwnerListForm::ShowStatistics() {
  if (!stats_) stats_ = new TOwnerStatsForm(s_, this);
  if (stats_->isVisible()) stats_->Refresh();
  stats_->show();
  stats_->raise();
  stats_->activateWindow();
}

}  // namespace tb
