// Cancelling, refunds, the returnable deposit, surcharges and discounts, each checked in
// the saved booking file as well as in the fields.

#include <gtest/gtest.h>

#include <string>

#include "bookings/BookingEditor.h"
#include "bookings/BrambleFixture.h"
#include "platform/Format.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;
const MsgButtons kOKHelp = MsgButton::OK | MsgButton::Help;
const TDateTime kToday = EncodeDate(2026, 12, 9);
const std::string kCancelled = "Booking CANCELLED. \rSAVE it to confirm (\"Quit-don't save\" aborts)\r";

// Bramble with a booking fee, a returnable deposit and a surcharge, prices in pounds.
class Money : public BrambleFixture {
 protected:
  Money() : BrambleFixture("ExtChg1=Booking Fee\nExtChg2=Ret Deposit\nExtChg3=Surcharge\nCS=\xA3\n") {}
  // One booking, opened for editing.
  void Open(const Book_Rec& r) {
    Bookings({r});
    ed.OpenEdit(1, At(1));
  }
  // The booking as the file now holds it.
  Book_Rec Saved() {
    EXPECT_TRUE(ed.Save("SAVE"));
    std::string data;
    EXPECT_TRUE(ReadWholeFile(File(), data));
    size_t pos = 0;
    Book_Rec r;
    bool fault = false;
    EXPECT_TRUE(ParseBookRecord(data, pos, r, fault));
    return r;
  }
  static Book_Rec DepositPaidBooking(double deposit) {
    Book_Rec r = MakeBooking(kJan + 16, 7, "Smith", DepositPaid);
    r.Deposit = deposit;
    r.Balance = r.Total - deposit;
    r.DateD = kToday - 30;
    return r;
  }
  BookingEditor ed{s};
};

TEST_F(Money, CancellingAHoldBookingKeepsNothing) {
  Open(MakeBooking(kJan + 16, 7, "Adams"));
  ASSERT_TRUE(ed.MayCancel());
  const CancelDialogModel dialog(ed.AmountPaid(), ed.Currency());
  EXPECT_FALSE(dialog.ChargeEditable());
  EXPECT_EQ(dialog.charge, "0");
  EXPECT_EQ(dialog.PaidLine(), "Nothing has yet been paid. Cannot retain a charge");
  EXPECT_EQ(dialog.Note(), "Consider deleting this booking entirely");
  t.dialogs.Expect(kCancelled + "Nothing paid, so nothing can be refunded", MsgIcon::Information, kOKHelp, 267,
                   MsgButton::OK);
  EXPECT_EQ(ed.Cancel(CancelOption::Retain, 0), BookingEditor::CancelResult::Cancelled);
  EXPECT_EQ(ed.View().totalCaption, "Can.Chg.--");
  EXPECT_TRUE(ed.View().totalEditable);
  const Book_Rec r = Saved();
  EXPECT_EQ(r.Status, Cancelled);
  EXPECT_EQ(r.Total, 0);
  EXPECT_EQ(r.Refund, 0);
  EXPECT_EQ(r.Comments, "Cancelled 09/12/2026");

  // Once cancelled, it says so.
  t.dialogs.Expect("Booking already cancelled. Adjust charges and dates as required", MsgIcon::Information, kOKHelp,
                   267, MsgButton::OK);
  EXPECT_FALSE(ed.MayCancel());
  t.dialogs.VerifyAllShown();
}

// Save, Save / Exit and the close box move no focus: the charge typed last is checked
// by the save itself, and what is saved always adds up to what was paid.
TEST_F(Money, ACancelledBookingIsSavedOnlyWithMoneyThatAddsUp) {
  Book_Rec booking = DepositPaidBooking(150);
  booking.Chg1 = 20;  // the booking fee
  Open(booking);
  t.dialogs.Expect(kCancelled +
                       "Customer already paid \xA3" "150\rCancellation charge is \xA3" "50\rYou need to refund \xA3" "100 - NOTE THIS AMOUNT\r",
                   MsgIcon::Information, kOKHelp, 267, MsgButton::OK);
  ASSERT_EQ(ed.Cancel(CancelOption::PayNow, 50), BookingEditor::CancelResult::Cancelled);
  const std::string before = t.dir.Read("root/Bramble/Data/Bookings.bks");
  struct Case {
    const char* charge;
    const char* error;
  } cases[] = {
      {"200", "Cannot refund more than paid"},
      {"15", "Cancellation charge insufficient to cover booking fee\rIncrease charge or reduce fee"},
      {"1.2.3", "Invalid amount"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.charge);
    ed.fields.form.total = c.charge;
    ed.AmountChanged(AmountField::Total);
    t.dialogs.Expect(std::string(c.error) + "\rCannot save", MsgIcon::Error, kOK, 0, MsgButton::OK);
    EXPECT_FALSE(ed.Save("SAVE"));
    EXPECT_EQ(ed.focus, EditorFocus::Total);
    EXPECT_EQ(t.dir.Read("root/Bramble/Data/Bookings.bks"), before);
  }
  // A refund left over from an earlier charge is settled by the save.
  ed.fields.form.total = "60";
  ed.fields.refund = "100";
  ed.FieldChanged();
  const Book_Rec r = Saved();
  EXPECT_EQ(r.Status, Cancelled);
  EXPECT_EQ(r.Total, 60);
  EXPECT_EQ(r.Refund, 90);
  t.dialogs.VerifyAllShown();
}

TEST_F(Money, CancellingAPaidDepositRefundsNowOrRetains) {
  Open(DepositPaidBooking(150));
  CancelDialogModel dialog(ed.AmountPaid(), ed.Currency());
  EXPECT_EQ(dialog.PaidLine(), "Total amount already paid = \xA3" "150");
  EXPECT_EQ(dialog.charge, "150");
  dialog.charge = "50";
  dialog.ChargeChanged();
  EXPECT_EQ(dialog.refund, "100");
  dialog.charge = "151";
  EXPECT_EQ(dialog.ChargeError(), "Cancellation Charge cannot exceed the amount paid");
  dialog.Choose(CancelOption::Retain);
  EXPECT_EQ(dialog.charge, "150");

  t.dialogs.Expect(kCancelled +
                       "Customer already paid \xA3" "150\rCancellation charge is \xA3" "50\rYou need to refund \xA3" "100 - NOTE THIS AMOUNT\r",
                   MsgIcon::Information, kOKHelp, 267, MsgButton::OK);
  ASSERT_EQ(ed.Cancel(CancelOption::PayNow, 50), BookingEditor::CancelResult::Cancelled);
  Book_Rec r = Saved();
  EXPECT_EQ(r.Refund, 100);
  EXPECT_EQ(r.DateR, kToday);
  EXPECT_EQ(r.Total, 50);
  EXPECT_EQ(r.Deposit, 150);  // the record of what was paid stays
  EXPECT_EQ(r.DateD, kToday - 30);

  Open(DepositPaidBooking(150));
  t.dialogs.Expect(kCancelled +
                       "Customer already paid \xA3" "150\rYou are retaining this amount, and defering a refund to a future date\rNote - the booking will show in the \"Overdue Payments\" list",
                   MsgIcon::Information, kOKHelp, 267, MsgButton::OK);
  ASSERT_EQ(ed.Cancel(CancelOption::Retain, 150), BookingEditor::CancelResult::Cancelled);
  r = Saved();
  EXPECT_EQ(r.Total, 150);
  EXPECT_EQ(r.Refund, 0);
  EXPECT_EQ(r.DateR, kNotPaid);
  t.dialogs.VerifyAllShown();
}

TEST_F(Money, ARefusedCancellationLeavesTheBookingAsItWas) {
  Book_Rec r = DepositPaidBooking(150);
  r.Chg1 = 20;  // booking fee
  Open(r);
  const BookingFields before = ed.fields;
  t.dialogs.Expect("Cancellation charge insufficient to cover booking fee\rEither reduce/remove booking fee or adjust "
                   "charge",
                   MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_EQ(ed.Cancel(CancelOption::PayNow, 15), BookingEditor::CancelResult::Unchanged);
  EXPECT_EQ(ed.fields.form.status, before.form.status);
  EXPECT_EQ(ed.fields.form.total, before.form.total);
  EXPECT_EQ(ed.fields.comments, before.comments);
  EXPECT_FALSE(ed.Changed());

  // Long comments get no note; the charge can be changed within what was paid.
  r.Comments = std::string(790, 'x');
  r.Chg1 = 0;
  Open(r);
  t.dialogs.permissive = true;
  ed.Cancel(CancelOption::Retain, 150);
  EXPECT_EQ(ed.fields.comments, std::string(790, 'x'));
  t.dialogs.permissive = false;
  struct Case {
    const char* charge;
    const char* error;
    const char* refund;
  } cases[] = {{"200", "Cannot refund more than paid", "0"}, {"-1", "Invalid amount", "0"}, {"30", "", "120"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.charge);
    ed.fields.form.total = c.charge;
    ed.AmountChanged(AmountField::Total);
    if (*c.error) t.dialogs.Expect(c.error, MsgIcon::Error, kOK, 0, MsgButton::OK);
    EXPECT_EQ(ed.AmountLeft(AmountField::Total), !*c.error);
    EXPECT_EQ(ed.fields.refund, c.refund);
    t.dialogs.VerifyAllShown();
  }
  EXPECT_EQ(Saved().Refund, 120);
}

TEST_F(Money, RepayingTheReturnableDepositAndUndoingIt) {
  Book_Rec r = MakeBooking(kToday - 10, 7, "Jones", Paid);
  r.Chg2 = 200;
  r.Total = r.Rent + 200;
  r.Deposit = 300;
  r.Balance = r.Total - 300;
  r.DateD = kToday - 90;
  r.DateP = kToday - 40;
  r.Status = RepayDeposit;
  Open(r);
  EXPECT_TRUE(ed.View().repayShown);
  t.dialogs.Expect(
      "Status will change to show you have repaid the returnable deposit,\rassumed to be repaid today.\rAre you "
      "retaining any of the deposit to cover damage?",
      MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Cancel, 0, MsgButton::Yes);
  t.dialogs.ExpectInput("Enter valid amount:", "300");  // more than is held: asked again
  t.dialogs.ExpectInput("Enter valid amount:", "50");
  ASSERT_TRUE(ed.Repay());
  EXPECT_EQ(ed.fields.form.charge[2], "50");
  EXPECT_EQ(ed.fields.refund, "150");
  EXPECT_TRUE(ed.View().refundDateShown);
  Book_Rec saved = Saved();
  EXPECT_EQ(saved.Status, Complete);
  EXPECT_EQ(saved.Chg2, 50);
  EXPECT_EQ(saved.Refund, 150);
  EXPECT_EQ(saved.DateR, kToday);
  EXPECT_EQ(saved.Total, saved.Rent + 50);

  ed.fields.refundPaid = false;
  t.dialogs.Expect("Cancel repayment (of returnable deposit)?\rNote - any refund shown is added back to the "
                   "returnable deposit",
                   MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes);
  ed.RefundTicked();
  saved = Saved();
  EXPECT_EQ(saved.Status, RepayDeposit);
  EXPECT_EQ(saved.Chg2, 200);
  EXPECT_EQ(saved.Refund, 0);
  EXPECT_EQ(saved.DateR, kNotPaid);
  t.dialogs.VerifyAllShown();

  // Not before the let has ended.
  r.StartD = kToday + 5;
  r.EndD = kToday + 12;
  Open(r);
  t.dialogs.Expect("Booking not complete or paid up (or cancelled)\rCannot repay deposit.", MsgIcon::Error, kOK, 0,
                   MsgButton::OK);
  EXPECT_FALSE(ed.Repay());
}

TEST_F(Money, ASurchargeOnAHoldBookingsDepositKeepsTheBalance) {
  Book_Rec r = MakeBooking(kJan + 16, 7, "Adams");
  r.Deposit = 100;
  r.Balance = r.Total - 100;
  Open(r);
  ASSERT_TRUE(ed.MaySurcharge());
  SurchargeModel m(ed.fields.form, s.prefs.SurchargeHundredths(), ed.Currency());
  EXPECT_EQ(m.Basis(), SurchargeBasis::Deposit);
  EXPECT_EQ(m.percent, "2.5");
  EXPECT_EQ(m.BasisText(), "\xA3" "100");
  EXPECT_EQ(m.SurchargeText(), "\xA3" "2.50");
  EXPECT_EQ(m.PayableText(), "\xA3" "102.50");
  const std::string balance = ed.fields.form.balance;
  ed.ApplySurcharge(m);
  EXPECT_EQ(ed.panel[2], "Added surcharge=2.5%");
  const Book_Rec saved = Saved();
  EXPECT_EQ(saved.Chg3, 2.5);
  EXPECT_EQ(saved.Deposit, 102.5);
  EXPECT_EQ(MoneyText(saved.Balance), balance);

  // A paid deposit takes none; other statuses none at all.
  Open(DepositPaidBooking(150));
  SurchargeModel paid(ed.fields.form, 250, "");
  EXPECT_EQ(paid.Basis(), SurchargeBasis::Balance);
  t.dialogs.Expect("Deposit paid - cannot apply surcharge", MsgIcon::Error, kOK, 0, MsgButton::OK);
  paid.ChooseBasis(SurchargeBasis::Deposit, t.dialogs);
  EXPECT_EQ(paid.Basis(), SurchargeBasis::Balance);
  paid.percent = "101";
  EXPECT_EQ(paid.PercentError(), "Invalid surcharge - must be 0.00 to 100");
  Open(MakeBooking(kJan + 16, 7, "Paid", Paid));
  t.dialogs.Expect("Surcharge not possible (inappropriate status)", MsgIcon::Information, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.MaySurcharge());
  t.dialogs.VerifyAllShown();
}

TEST_F(Money, ARoundedDiscountComesOffTheRent) {
  Book_Rec r = MakeBooking(kJan + 16, 7, "Adams");
  r.Rent = 537;
  r.Chg1 = 10;
  Open(r);
  std::vector<DiscountLine> lines;
  ASSERT_TRUE(DiscountLines(s.Prop(1), ed.fields.form, true, "17.5", lines));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[1].caption, "7.5%");
  EXPECT_EQ(lines[1].amountText, "40");  // 40.275
  EXPECT_EQ(lines[1].netRent, "497");
  EXPECT_EQ(lines[1].extras, "10");
  EXPECT_EQ(lines[1].netTotal, "507");
  EXPECT_EQ(lines[8].caption, "17.5%");
  ASSERT_TRUE(DiscountLines(s.Prop(1), ed.fields.form, false, "17.5", lines));
  EXPECT_EQ(lines[1].amountText, "40.28");
  EXPECT_EQ(lines[0].amountText, "26.85");
  EXPECT_EQ(lines[2].amountText, "53.70");

  ASSERT_TRUE(DiscountLines(s.Prop(1), ed.fields.form, true, "17.5", lines));
  t.dialogs.Expect("Allow discount of 7.5% on rent?", MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel, 0,
                   MsgButton::OK);
  ASSERT_TRUE(ed.ApplyDiscount(lines[1]));
  EXPECT_EQ(ed.panel[2], "7.5% discount allowed");
  const Book_Rec saved = Saved();
  EXPECT_EQ(saved.Rent, 497);
  EXPECT_EQ(saved.Total, 507);
  EXPECT_EQ(saved.Comments, "261209 7.5% discount allowed");

  ed.fields.form.rent = "abc";
  EXPECT_FALSE(DiscountLines(s.Prop(1), ed.fields.form, true, "17.5", lines));
  EXPECT_FALSE(ValidSpecialPercent("0.05"));
  EXPECT_TRUE(ValidSpecialPercent("100"));
}

}  // namespace
}  // namespace tb::test
