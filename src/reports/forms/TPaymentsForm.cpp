#include "reports/forms/TPaymentsForm.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/DateTime.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/ListWindow.h"
#include "platform/forms/QtText.h"
#include "reports/PaymentsCsv.h"
#include "reports/forms/PaymentsModel.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {

constexpr int kPaymentsHelp = 161;

QDate ToQDate(TDateTime d) {
  const DateParts p = DecodeDate(d);
  return QDate(p.year, p.month, p.day);
}

TDateTime FromQDate(const QDate& d) { return EncodeDate(d.year(), d.month(), d.day()); }

}  // namespace

TPaymentsForm::TPaymentsForm(Session& s, int property, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("View Payments "));
  setModal(false);
  BuildControls(property);
}

void TPaymentsForm::BuildControls(int property) {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;

  LB = new QListWidget(this);
  LB->setSelectionMode(QAbstractItemView::ExtendedSelection);
  LB->setMinimumWidth(220);
  FillPropertyList(s_, *LB, 14, false);
  if (property >= 1) {
    for (int i = 0; i < LB->count(); ++i)
      LB->item(i)->setSelected(LB->item(i)->data(Qt::UserRole).toInt() == property);
  }
  top->addWidget(LB, 0, Qt::AlignTop);

  auto* options = new QGridLayout;
  const int year = DecodeDate(s_.clock.Today()).year;
  const auto dateBox = [this](TDateTime d) {
    auto* box = new QDateEdit(ToQDate(d), this);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return box;
  };
  StartDt = dateBox(EncodeDate(year, 1, 1));
  EndDt = dateBox(EncodeDate(year, 12, 31));
  options->addWidget(new QLabel(QStringLiteral("Start date"), this), 0, 0);
  options->addWidget(StartDt, 0, 1);
  options->addWidget(new QLabel(QStringLiteral("End date"), this), 1, 0);
  options->addWidget(EndDt, 1, 1);
  OmitFuture = new QCheckBox(QStringLiteral("Omit predicted payments"), this);
  OmitFuture->setChecked(s_.prefs.PaymentsOmitFuture());
  OmitComplete = new QCheckBox(QStringLiteral("Omit payments for completed bookings"), this);
  options->addWidget(OmitFuture, 2, 0, 1, 2);
  options->addWidget(OmitComplete, 3, 0, 1, 2);
  options->setRowStretch(4, 1);
  top->addLayout(options);

  auto* buttons = new QVBoxLayout;
  const auto button = [this, buttons](const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  bRun = button("RUN");
  bCsv = button("Edit as CSV");
  bHelp = button("Help (F1)");
  bClose = button("Close");
  bRun->setDefault(true);
  bCsv->setEnabled(false);
  buttons->addStretch();
  top->addLayout(buttons);
  top->addStretch();
  layout->addLayout(top);

  model = new PaymentsModel(this);
  LV = RowTable(this, model, {80, 40, 150, 80, 40, 80, 70, 110, 90});
  LV->setMinimumSize(700, 300);
  layout->addWidget(LV, 1);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  for (QLabel*& p : panel) {
    p = new QLabel(this);
    p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->addWidget(p, 1);
  }
  layout->addWidget(status);
  resize(820, 620);

  const auto help = [this]() { OpenHelp(s_, kPaymentsHelp); };
  AddHelpKey(this, help);
  connect(bHelp, &QPushButton::clicked, this, help);
  connect(bRun, &QPushButton::clicked, this, &TPaymentsForm::Run);
  connect(bCsv, &QPushButton::clicked, this, &TPaymentsForm::EditAsCsv);
  connect(bClose, &QPushButton::clicked, this, &QDialog::close);
  connect(LV->horizontalHeader(), &QHeaderView::sectionClicked, this, &TPaymentsForm::SortBy);
  connect(LB, &QListWidget::itemSelectionChanged, this, &TPaymentsForm::ClearList);
  connect(StartDt, &QDateEdit::dateChanged, this, &TPaymentsForm::ClearList);
  connect(EndDt, &QDateEdit::dateChanged, this, &TPaymentsForm::ClearList);
  connect(OmitFuture, &QCheckBox::toggled, this, &TPaymentsForm::OmitFutureClick);
  connect(OmitComplete, &QCheckBox::toggled, this, &TPaymentsForm::ClearList);
}

PaymentOptions TPaymentsForm::Options() const {
  PaymentOptions o;
  for (int i = 0; i < LB->count(); ++i)
    if (LB->item(i)->isSelected()) o.properties.push_back(LB->item(i)->data(Qt::UserRole).toInt());
  o.start = FromQDate(StartDt->date());
  o.end = FromQDate(EndDt->date());
  o.omitFuture = OmitFuture->isChecked();
  o.omitComplete = OmitComplete->isChecked();
  return o;
}

const std::vector<PaymentRow>& TPaymentsForm::Rows() const { return model->Rows(); }

void TPaymentsForm::OmitFutureClick() {
  s_.prefs.SetPaymentsOmitFuture(OmitFuture->isChecked());
  ClearList();
}

void TPaymentsForm::ClearList() {
  model->Clear();
  sortColumn_ = -1;
  descending_ = false;
  for (QLabel* p : panel) p->clear();
  bCsv->setEnabled(false);
}

void TPaymentsForm::Run() {
  const PaymentOptions o = Options();
  std::vector<PaymentRow> rows = PaymentRows(s_, o);
  int64_t total = 0;
  for (const PaymentRow& r : rows) total += r.cents;
  panel[0]->setText(ToQ(PaymentsFoundText(static_cast<int>(o.properties.size()), static_cast<int>(rows.size()))));
  panel[1]->setText(ToQ(PaymentsTotalText(total)));
  bCsv->setEnabled(!rows.empty());
  sortColumn_ = -1;
  descending_ = false;
  model->SetRows(std::move(rows));
}

void TPaymentsForm::SortBy(int column) {
  if (column < 0 || column >= kPaymentColumns) return;
  descending_ = column == sortColumn_ ? !descending_ : false;
  sortColumn_ = column;
  model->Sort(static_cast<PaymentColumn>(column), descending_);
}

void TPaymentsForm::EditAsCsv() {
  if (Rows().empty()) return;
  std::string error;
  if (!WritePaymentsCsv(s_, Rows(), error)) {
    s_.dialogs.Beep();
    s_.dialogs.Message(error, MsgIcon::Error, MsgButton::Abort);
    return;
  }
  s_.processes.ShellOpen(PaymentsCsvPath(s_));
}

void TPaymentsForm::done(int result) {
  ClearList();
  QDialog::done(result);
}

}  // namespace tb
