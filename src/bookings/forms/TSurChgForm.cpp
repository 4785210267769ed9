#include "bookings/forms/TSurChgForm.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bookings/forms/KeyFilter.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

TSurChgForm::TSurChgForm(Session& s, SurchargeModel& model, QWidget* parent) : QDialog(parent), s_(s), model_(model) {
  setWindowTitle(QStringLiteral("Calculate surcharge"));
  AddHelpKey(this, [this]() { OpenHelp(s_, kSurchargeHelp); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(QStringLiteral("Calculate surcharge as percentage based on Total (default) or a selected field "), this));
  auto* grid = new QGridLayout;
  basis = new QComboBox(this);
  basis->addItems({QStringLiteral("Total"), QStringLiteral("Deposit"), QStringLiteral("Balance")});
  basisAmount = new QLabel(this);
  percent = new QLineEdit(this);
  percent->setFixedWidth(60);
  percent->installEventFilter(new KeyFilter(KeyFilter::Kind::Amount, percent));
  surcharge = new QLabel(this);
  payable = new QLabel(this);
  grid->addWidget(new QLabel(QStringLiteral("Calculate surcharge based on"), this), 0, 0);
  grid->addWidget(basis, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("which is"), this), 0, 2);
  grid->addWidget(basisAmount, 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("Surcharge (percent)"), this), 1, 0);
  grid->addWidget(percent, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Surcharge amount will be "), this), 2, 0);
  grid->addWidget(surcharge, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Amount payable will become"), this), 3, 0);
  grid->addWidget(payable, 3, 1);
  layout->addLayout(grid);
  layout->addWidget(
      new QLabel(QStringLiteral("NB Surcharges are cumulative. New charges will be added to any existing charge"), this));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new QLabel(QStringLiteral("Alter surcharge or basis as required, then "), this));
  auto* apply = new QPushButton(QStringLiteral("Click to apply"), this);
  apply->setToolTip(QStringLiteral("Calculate the charge and enter into the surcharge box"));
  auto* recalculate = new QPushButton(QStringLiteral("Recalculate"), this);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  for (QPushButton* b : {apply, recalculate, cancel}) buttons->addWidget(b);
  layout->addLayout(buttons);

  percent->setText(ToQ(model_.percent));
  Show();
  connect(basis, &QComboBox::activated, this, [this](int index) {
    model_.ChooseBasis(static_cast<SurchargeBasis>(index), s_.dialogs);
    Show();
  });
  // "Recalculate" only takes the focus from the percentage, which checks it.
  // A button pressed checks it itself.
  connect(percent, &QLineEdit::editingFinished, this, [this]() {
    if (QApplication::activeModalWidget() == this && !qobject_cast<QPushButton*>(QApplication::focusWidget()))
      PercentLeft();
  });
  connect(recalculate, &QPushButton::clicked, this, [this]() { PercentLeft(); });
  connect(apply, &QPushButton::clicked, this, &TSurChgForm::Apply);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSurChgForm::Show() {
  basis->setCurrentIndex(static_cast<int>(model_.Basis()));
  basisAmount->setText(ToQ(model_.BasisText()));
  surcharge->setText(ToQ(model_.SurchargeText()));
  payable->setText(ToQ(model_.PayableText()));
}

bool TSurChgForm::PercentLeft() {
  model_.percent = FromQ(percent->text());
  const std::string error = model_.PercentError();
  if (!error.empty()) {
    s_.dialogs.Message(error, MsgIcon::Error, MsgButton::OK);
    percent->setFocus();
    return false;
  }
  s_.prefs.SetSurchargeHundredths(static_cast<uint16_t>(model_.Hundredths()));
  Show();
  return true;
}

void TSurChgForm::Apply() {
  if (!PercentLeft()) return;
  if (s_.dialogs.Message("Apply surcharge of " + model_.SurchargeText() + "?", MsgIcon::Confirmation,
                         MsgButton::OK | MsgButton::Cancel) == MsgButton::OK)
    accept();
}

}  // namespace tb
