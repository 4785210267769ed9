#include "bookings/forms/TCancelForm.h"

#include <QApplication>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bookings/forms/KeyFilter.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

TCancelForm::TCancelForm(Session& s, CancelDialogModel& model, QWidget* parent)
    : QDialog(parent), s_(s), model_(model) {
  setWindowTitle(QStringLiteral("Cancellations"));
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QStringLiteral("Cancel Booking?"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  layout->addWidget(new QLabel(QStringLiteral("Specify action and cancellation charge (if any), then click CONFIRM"), this));
  paidLine = new QLabel(ToQ(model_.PaidLine()), this);
  note = new QLabel(ToQ(model_.Note()), this);
  layout->addWidget(paidLine);
  layout->addWidget(note);

  auto* money = new QGridLayout;
  charge = new QLineEdit(this);
  charge->setAlignment(Qt::AlignRight);
  charge->installEventFilter(new KeyFilter(KeyFilter::Kind::Amount, charge));
  // Nothing paid: nothing can be kept.
  charge->setReadOnly(!model_.ChargeEditable());
  refund = new QLineEdit(this);
  refund->setReadOnly(true);
  refund->setFocusPolicy(Qt::NoFocus);
  refund->setAlignment(Qt::AlignRight);
  money->addWidget(new QLabel(QStringLiteral("Cancellation charge: "), this), 0, 0);
  money->addWidget(charge, 0, 1);
  money->addWidget(new QLabel(QStringLiteral("Refund due"), this), 1, 0);
  money->addWidget(refund, 1, 1);
  layout->addLayout(money);

  auto* options = new QGroupBox(QStringLiteral("Select Cancellation Options"), this);
  auto* o = new QVBoxLayout(options);
  payNow = new QRadioButton(QStringLiteral("Cancel and pay refund (if any) today:"), options);
  retain = new QRadioButton(QStringLiteral("Retain all funds paid, defer repayment:"), options);
  remove = new QRadioButton(QStringLiteral("Completely delete this booking from database"), options);
  remove->setToolTip(QStringLiteral("If you select this option, the booking will be completely deleted from the database"));
  for (QRadioButton* r : {payNow, retain, remove}) o->addWidget(r);
  layout->addWidget(options);

  auto* buttons = new QHBoxLayout;
  auto* abort = new QPushButton(QStringLiteral("Abort cancellation"), this);
  auto* confirm = new QPushButton(QStringLiteral("CONFIRM"), this);
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  for (QPushButton* b : {abort, confirm, help}) buttons->addWidget(b);
  layout->addLayout(buttons);

  model_.Choose(model_.option);
  Show();
  connect(charge, &QLineEdit::textEdited, this, [this]() {
    model_.charge = FromQ(charge->text());
    model_.ChargeChanged();
    Show();
  });
  // A button pressed checks it itself.
  connect(charge, &QLineEdit::editingFinished, this, [this]() {
    if (charge->hasFocus() || QApplication::activeModalWidget() != this ||
        qobject_cast<QPushButton*>(QApplication::focusWidget()))
      return;
    ChargeLeft();
  });
  connect(payNow, &QRadioButton::clicked, this, [this]() { model_.Choose(CancelOption::PayNow); });
  connect(retain, &QRadioButton::clicked, this, [this]() {
    model_.Choose(CancelOption::Retain);
    Show();
  });
  connect(remove, &QRadioButton::clicked, this, [this]() { model_.Choose(CancelOption::Delete); });
  connect(abort, &QPushButton::clicked, this, &QDialog::reject);
  connect(confirm, &QPushButton::clicked, this, &TCancelForm::Confirm);
  connect(help, &QPushButton::clicked, this, [this]() { OpenHelp(s_, kCancellationHelp); });
  AddHelpKey(this, [this]() { OpenHelp(s_, kCancellationHelp); });
}

void TCancelForm::Show() {
  if (charge->text() != ToQ(model_.charge)) charge->setText(ToQ(model_.charge));
  refund->setText(ToQ(model_.refund));
  (model_.option == CancelOption::PayNow ? payNow : model_.option == CancelOption::Retain ? retain : remove)
      ->setChecked(true);
}

bool TCancelForm::ChargeLeft() {
  model_.charge = FromQ(charge->text());
  const std::string error = model_.ChargeError();
  if (error.empty()) return true;
  s_.dialogs.Message(error, MsgIcon::Error, MsgButton::OK);
  charge->setFocus();
  return false;
}

void TCancelForm::Confirm() {
  // Deleting needs no charge.
  if (model_.option != CancelOption::Delete && !ChargeLeft()) return;
  accept();
}

}  // namespace tb
