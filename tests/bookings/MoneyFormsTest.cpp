// The cancellation, surcharge and discount dialogs, and the booking window running them.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "bookings/BrambleFixture.h"
#include "bookings/forms/TBookForm.h"
#include "bookings/forms/TCalcForm.h"
#include "bookings/forms/TCancelForm.h"
#include "bookings/forms/TSurChgForm.h"
#include "support/TypeKeys.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;

class MoneyForms : public BrambleFixture {
 protected:
  MoneyForms() : BrambleFixture("ExtChg1=Fuel\nExtChg2=Surcharge\nCS=\xA3\n") {}
};

TEST_F(MoneyForms, CancellationDialogKeepsTheChargeWithinWhatWasPaid) {
  CancelDialogModel model(150, "\xA3");
  TCancelForm dialog(s, model);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Cancellations"));
  EXPECT_EQ(dialog.paidLine->text(), QStringLiteral("Total amount already paid = \u00A3150"));
  EXPECT_TRUE(dialog.retain->isChecked());
  EXPECT_EQ(dialog.charge->text(), QStringLiteral("150"));
  EXPECT_EQ(dialog.refund->text(), QStringLiteral("0"));
  Type(dialog.charge, QStringLiteral("50"));
  EXPECT_EQ(dialog.refund->text(), QStringLiteral("100"));
  Type(dialog.charge, QStringLiteral("200"));
  t.dialogs.Expect("Cancellation Charge cannot exceed the amount paid", MsgIcon::Error, kOK, 0, MsgButton::OK);
  dialog.payNow->click();
  dialog.Confirm();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
  dialog.retain->click();  // everything paid is kept again
  EXPECT_EQ(dialog.charge->text(), QStringLiteral("150"));
  dialog.Confirm();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(model.option, CancelOption::Retain);

  CancelDialogModel nothing(0, "\xA3");
  TCancelForm unpaid(s, nothing);
  EXPECT_TRUE(unpaid.charge->isReadOnly());
  EXPECT_EQ(unpaid.paidLine->text(), QStringLiteral("Nothing has yet been paid. Cannot retain a charge"));
}

TEST_F(MoneyForms, SurchargeDialogChecksAndRemembersThePercentage) {
  BookingForm f;
  f.status = Hold;
  f.total = "1000";
  f.deposit = "250";
  f.balance = "750";
  SurchargeModel model(f, 250, "\xA3");
  TSurChgForm dialog(s, model);
  EXPECT_EQ(dialog.basis->currentText(), QStringLiteral("Deposit"));
  EXPECT_EQ(dialog.surcharge->text(), QStringLiteral("\u00A36.25"));
  Type(dialog.percent, QStringLiteral("150"));
  t.dialogs.Expect("Invalid surcharge - must be 0.00 to 100", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(dialog.PercentLeft());
  Type(dialog.percent, QStringLiteral("4"));
  EXPECT_TRUE(dialog.PercentLeft());
  EXPECT_EQ(dialog.payable->text(), QStringLiteral("\u00A3260.00"));
  EXPECT_EQ(s.prefs.SurchargeHundredths(), 400);
  t.dialogs.Expect("Apply surcharge of \xA3" "10.00?", MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel, 0,
                   MsgButton::OK);
  dialog.Apply();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(MoneyForms, TheBookingWindowCancelsAndDiscountsThroughItsDialogs) {
  Book_Rec r = MakeBooking(kJan + 2, 7, "Adams", DepositPaid);
  r.Deposit = 150;
  r.DateD = kJan - 60;
  r.Rent = 537;
  r.Total = 537;
  r.Balance = 387;
  Bookings({r});
  TBookForm form(s);
  form.OpenEdit(1, At(1));
  form.show();
  EXPECT_TRUE(form.bCalculate->isVisibleTo(&form));
  EXPECT_TRUE(form.acCancelBooking->isEnabled());

  // Discount: 7.5 percent, rounded, off a rent of 537.
  form.showDiscount = [&](TCalcForm& calculator) {
    ASSERT_EQ(calculator.lines->topLevelItemCount(), 9);
    EXPECT_EQ(calculator.lines->topLevelItem(1)->text(2), QStringLiteral("497"));
    t.dialogs.Expect("Allow discount of 7.5% on rent?", MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel, 0,
                     MsgButton::OK);
    calculator.Choose(1);
  };
  form.acDiscount->trigger();
  EXPECT_EQ(form.fRent->text(), QStringLiteral("497"));
  EXPECT_EQ(form.panel[2]->text(), QStringLiteral("7.5% discount allowed"));

  // Cancel, paying back now what the charge does not keep.
  form.askCancellation = [](CancelDialogModel& model) {
    model.Choose(CancelOption::PayNow);
    model.charge = "50";
    return true;
  };
  t.dialogs.permissive = true;  // the report
  form.acCancelBooking->trigger();
  t.dialogs.permissive = false;
  EXPECT_EQ(form.lTotal->text(), QStringLiteral("Can.Chg.--"));
  EXPECT_FALSE(form.fTotal->isReadOnly());
  EXPECT_TRUE(form.fRefund->isVisibleTo(&form));
  EXPECT_EQ(form.fRefund->text(), QStringLiteral("100"));
  EXPECT_TRUE(form.fRefPaid->isChecked());
  EXPECT_TRUE(form.fDatePaidRef->isVisibleTo(&form));
  form.acSave->trigger();
  const Book_Rec& saved = At(1)->Rec;
  EXPECT_EQ(saved.Status, Cancelled);
  EXPECT_EQ(saved.Rent, 497);
  EXPECT_EQ(saved.Total, 50);
  EXPECT_EQ(saved.Refund, 100);
  EXPECT_EQ(saved.DateR, EncodeDate(2026, 12, 9));

  // Unticking the refund of a cancelled booking hides its date.
  form.fRefPaid->click();
  EXPECT_FALSE(form.fDatePaidRef->isVisibleTo(&form));

  // F2 moves no focus: a charge typed above what was paid is refused by the save itself.
  QApplication::setActiveWindow(&form);
  form.fTotal->setFocus();
  Type(form.fTotal, QStringLiteral("200"));
  t.dialogs.Expect("Cannot refund more than paid\rCannot save", MsgIcon::Error, kOK, 0, MsgButton::OK);
  form.acSave->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(At(1)->Rec.Total, 50);
  EXPECT_TRUE(form.fTotal->hasFocus());
}

}  // namespace
}  // namespace tb::test
