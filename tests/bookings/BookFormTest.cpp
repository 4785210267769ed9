// The booking window as the user drives it: keys into its fields, its commands, its
// closing, with every box scripted.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QProcess>
#include <gtest/gtest.h>

#include "app/BookingFileMode.h"
#include "bookings/BrambleFixture.h"
#include "bookings/WeekTable.h"
#include "bookings/forms/TBookForm.h"
#include "platform/FileSystem.h"
#include "platform/forms/QtPrintCanvas.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"
#include "support/TypeKeys.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;
const MsgButtons kYesNo = MsgButton::Yes | MsgButton::No;

int Records(const std::string& path) { return static_cast<int>(FileSizeOf(path) / 144); }

class BookForm : public BrambleFixture {
 protected:
  BookForm() : BrambleFixture("ExtChg1=Fuel\nExtChg2=Ret Deposit\n") { form.onClosed = [this]() { ++closed; }; }
  QString Panel(int i) const { return form.panel[static_cast<size_t>(i)]->text(); }

  TBookForm form{s};
  int closed = 0;
};

TEST_F(BookForm, NewBookingBeforeAnotherIsSavedFromTheWindow) {
  form.OpenNew(1, kJan + 10);
  form.show();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Cotlyn Booking Window.   Property 1: Bramble"));
  EXPECT_EQ(form.fEndDate->date(), QDate(2027, 1, 14));  // Brown starts 4 days later
  EXPECT_EQ(form.fNoDays->text(), QStringLiteral("4"));
  EXPECT_EQ(form.fStatus->text(), QStringLiteral("New Booking - complete details"));
  EXPECT_EQ(Panel(0), QStringLiteral("New record"));
  EXPECT_EQ(Panel(1), QStringLiteral("Created 09/12/2026 10:30:00"));
  EXPECT_EQ(form.lCharge[1]->text(), QStringLiteral("Fuel--------------"));
  EXPECT_TRUE(form.fCharge[2]->isVisibleTo(&form));
  EXPECT_FALSE(form.fCharge[3]->isVisibleTo(&form));
  EXPECT_FALSE(form.acNext->isEnabled());
  EXPECT_FALSE(form.acFind->isEnabled());
  EXPECT_FALSE(form.fDatePaidDep->isVisibleTo(&form));

  Type(form.fSurName, QStringLiteral("Dyer"));
  Type(form.fAddress, QStringLiteral("1 Lane\nYork"));
  Type(form.fDeposit, QStringLiteral("50"));
  EXPECT_TRUE(form.Editor().Changed());
  form.acSave->trigger();
  EXPECT_FALSE(form.Editor().Changed());
  EXPECT_EQ(Panel(0), QStringLiteral("Rec 2 of 4"));
  EXPECT_TRUE(form.acNext->isEnabled());
  EXPECT_EQ(Records(File()), 4);
  EXPECT_EQ(Records(Archive("Changed")), 1);
  EXPECT_NE(Log().find("SAVE P=1 Bramble Name=Dyer S=H SD=270110"), std::string::npos) << Log();
  const Book_Rec& saved = At(2)->Rec;
  EXPECT_EQ(saved.Surname, "Dyer");
  EXPECT_EQ(saved.Address, "1 Lane\r\nYork");
  EXPECT_EQ(saved.Deposit, 50);
  EXPECT_EQ(saved.EndD, kJan + 14);
}

TEST_F(BookForm, SaveExitNeedsASurnameAndThenClosesTheWindow) {
  form.OpenNew(1, kJan + 22);
  form.show();
  t.dialogs.Expect("Must specify Surname", MsgIcon::Error, kOK, 0, MsgButton::OK);
  form.acSaveExit->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Records(File()), 3);

  Type(form.fSurName, QStringLiteral("Evans"));
  form.acSaveExit->trigger();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(Records(File()), 4);
  EXPECT_NE(Log().find("EXIT P=1 Bramble Name=Evans"), std::string::npos);
  EXPECT_FALSE(s.BookFormOpen);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(BookForm, LeavingAFieldChecksItAndKeepsTheFocusOnAnError) {
  form.OpenEdit(1, At(1));
  form.show();
  QApplication::setActiveWindow(&form);

  // An amount that is not a number stays where it is typed.
  Type(form.fRent, QString());
  t.dialogs.Expect("Invalid amount", MsgIcon::Error, kOK, 0, MsgButton::OK);
  form.FocusMoved(form.fRent, form.fDeposit);
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(form.fRent->hasFocus());
  Type(form.fRent, QStringLiteral("400"));
  form.FocusMoved(form.fRent, form.fDeposit);  // no box
  EXPECT_EQ(form.fTotal->text(), QStringLiteral("400"));

  // Dates: moving between the pickers checks nothing; leaving them checks the overlap.
  form.fEndDate->setDate(QDate(2027, 1, 15));
  EXPECT_EQ(form.fNoDays->text(), QStringLiteral("13"));
  form.FocusMoved(form.fEndDate, form.fStartDate);
  t.dialogs.Expect("Error - dates overlap booking 2 which starts 14/01/2027", MsgIcon::Error, kOK, 0,
                   MsgButton::OK);
  form.FocusMoved(form.fEndDate, form.fSurName);
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(form.fEndDate->hasFocus());
  form.fEndDate->setDate(QDate(2027, 1, 14));  // touching Brown is fine
  form.FocusMoved(form.fEndDate, form.fSurName);
  EXPECT_TRUE(s.Prop(1).DatesChanged);

  // Navigation waits for the change to be saved or dropped.
  EXPECT_FALSE(form.acNext->isEnabled());
  t.dialogs.Expect("Quit and lose changes?", MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  form.acQuit->trigger();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(At(1)->Rec.EndD, kJan + 9);
}

TEST_F(BookForm, AddressStopsAtFiveLinesAndAmountsTakeOnlyNumbers) {
  form.OpenEdit(1, At(1));
  form.show();
  Type(form.fAddress, QStringLiteral("1\n2\n3\n4\n5"));
  Type(form.fAddress, QStringLiteral("1\n2\n3\n4\n5\n"));
  EXPECT_EQ(form.fAddress->toPlainText(), QStringLiteral("1\n2\n3\n4\n5"));
  EXPECT_EQ(Panel(2), QStringLiteral("Reached max. number of lines"));
  EXPECT_GE(t.dialogs.beeps, 1);

  Type(form.fDeposit, QStringLiteral("1a2.5.0-"));
  EXPECT_EQ(form.fDeposit->text(), QStringLiteral("12.50"));
  Type(form.fNVisits, QStringLiteral("3x"));
  EXPECT_EQ(form.fNVisits->text(), QStringLiteral("3"));
}

TEST_F(BookForm, ClosingWithChangesAsksFirst) {
  form.OpenEdit(1, At(2));
  form.show();
  Type(form.fSurName, QStringLiteral("Browne"));
  const std::string question = "Save changes before closing?\r(Cancel returns to editing, No discards changes)";
  const MsgButtons ync = MsgButton::Yes | MsgButton::No | MsgButton::Cancel;
  t.dialogs.Expect(question, MsgIcon::Confirmation, ync, 0, MsgButton::Cancel);
  form.close();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(closed, 0);
  t.dialogs.Expect(question, MsgIcon::Confirmation, ync, 0, MsgButton::Yes);
  form.close();
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(closed, 1);
  EXPECT_NE(Log().find("BF-CLOSE P=1 Bramble Name=Browne"), std::string::npos);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(BookForm, ReadOnlyWindowPagesButChangesNothing) {
  s.FileReadOnly = true;
  form.OpenEdit(1, At(1));
  form.show();
  EXPECT_TRUE(form.lReadOnly->isVisible());
  EXPECT_TRUE(form.fSurName->isReadOnly());
  EXPECT_TRUE(form.fAddress->isReadOnly());
  EXPECT_FALSE(form.fDepPaid->isEnabled());
  EXPECT_FALSE(form.fStartDate->isEnabled());
  EXPECT_FALSE(form.fSource->isEnabled());
  for (QAction* a : {form.acSave, form.acSaveExit, form.acDelete, form.acPasteTemp, form.acCopyToFile})
    EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  EXPECT_TRUE(form.acQuit->isEnabled());
  form.acNext->trigger();
  EXPECT_EQ(form.fSurName->text(), QStringLiteral("Brown"));
  form.close();  // nothing to ask
  EXPECT_EQ(closed, 1);
}

TEST_F(BookForm, DeleteLogsItAndClosesTheWindow) {
  form.OpenEdit(1, At(2));
  form.show();
  t.dialogs.Expect("Delete Booking?\r\rProperty: Bramble\rBooking: Brown  14/01/2027 to 21/01/2027",
                   MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  form.acDelete->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(Records(File()), 2);
  EXPECT_EQ(Records(Archive("Deleted")), 1);
  EXPECT_NE(Log().find("DELETE. Prop=1 Name=Brown Start=270114"), std::string::npos);
}

TEST_F(BookForm, BookingFileModeDeletingTheLastBookingDeletesTheFile) {
  const std::string archive = t.Root() + "Bramble/Archive/Old.bks";
  WriteWholeFile(archive, BookingFileImage({MakeBooking(kJan + 40, 7, "Late"), MakeBooking(kJan + 2, 7, "Early")}));
  ReleaseBookingFile(s);
  s.AppState = 'F';
  s.CurrentProperty = 0;
  s.DirectFile = archive;
  StartBookingFileMode(s);
  EXPECT_TRUE(s.Prop(0).ListModified);  // put in date order
  form.OpenFile();
  form.show();
  EXPECT_EQ(form.windowTitle().toStdString(), "Cotlyn Booking Window.     File: " + archive);
  EXPECT_EQ(form.fSurName->text(), QStringLiteral("Early"));
  EXPECT_FALSE(form.fDepPaid->isVisibleTo(&form) && form.fDatePaidDep->isVisibleTo(&form));

  t.dialogs.Expect("Delete Booking?\r\rProperty: \rBooking: Early  02/01/2027 to 09/01/2027", MsgIcon::Confirmation,
                   kYesNo, 0, MsgButton::Yes);
  form.acDelete->trigger();
  EXPECT_EQ(form.fSurName->text(), QStringLiteral("Late"));
  EXPECT_EQ(Panel(2), QStringLiteral("Deleted"));
  t.dialogs.Expect("Delete Booking?\r\rProperty: \rBooking: Late  09/02/2027 to 16/02/2027", MsgIcon::Confirmation,
                   kYesNo, 0, MsgButton::Yes);
  t.dialogs.Expect("All records deleted. Closing", MsgIcon::Warning, kOK, 0, MsgButton::OK);
  form.acDelete->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(FileExists(archive));
  EXPECT_FALSE(FileExists(Archive("Changed")));  // archives have no change log
  EndBookingFileMode(s);
  EXPECT_NE(Log().find("START Mode=F " + archive), std::string::npos);
  EXPECT_NE(Log().find("CLOSE Mode=F. File=" + archive), std::string::npos);
}

TEST_F(BookForm, CopiesActOnTheSavedBooking) {
  form.OpenEdit(1, At(1));
  form.show();
  t.dialogs.Expect("No booking found in temporary storage", MsgIcon::Error, kOK, 0, MsgButton::OK);
  form.acPasteTemp->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(form.fSurName->text(), QStringLiteral("Adams"));
  EXPECT_TRUE(form.acNext->isEnabled());  // nothing changed

  form.acCopyTemp->trigger();
  EXPECT_EQ(Panel(2), QStringLiteral("Copied"));
  form.acNext->trigger();
  t.dialogs.Expect("Replace data in the form (except rates and dates)?", MsgIcon::Confirmation, kYesNo, 0,
                   MsgButton::Yes);
  form.acPasteTemp->trigger();
  EXPECT_EQ(form.fSurName->text(), QStringLiteral("Adams"));
  EXPECT_EQ(form.fStartDate->date(), QDate(2027, 1, 14));  // Brown's dates stay
  EXPECT_EQ(Panel(2), QStringLiteral("Pasted data into form."));
  EXPECT_FALSE(form.acNext->isEnabled());

  // The clipboard and the other file take the saved booking, not the pasted fields.
  form.acCopyNameAddress->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().left(5), QStringLiteral("Brown"));
  const std::string other = t.Root() + "other.bks";
  form.chooseCopyFile = [&]() { return QString::fromStdString(other); };
  form.acCopyToFile->trigger();
  EXPECT_EQ(Records(other), 1);
  EXPECT_EQ(Panel(2).toStdString(), "Booking copied to " + other);
}

TEST_F(BookForm, SourceListIsBuiltWhenItDropsDown) {
  std::vector<Book_Rec> records;
  for (int i = 0; i < 8; ++i) {
    records.push_back(MakeBooking(kJan + 7 * i, 7, "S" + std::to_string(i)));
    records.back().Source = i < 5 ? "Web" : "Agent";
  }
  Bookings(records);
  form.OpenEdit(1, At(1));
  form.show();
  form.fSource->showPopup();
  QStringList offered;
  for (int i = 0; i < form.fSource->count(); ++i) offered << form.fSource->itemText(i);
  form.fSource->hidePopup();
  EXPECT_EQ(offered, QStringList({QStringLiteral("Web"), QStringLiteral("Agent"), QStringLiteral("Repeat"), QStringLiteral("Reference")}));
  EXPECT_EQ(form.fSource->currentText(), QStringLiteral("Web"));  // the booking's own source stays
  EXPECT_FALSE(form.Editor().Changed());
}

TEST_F(BookForm, PrintCopyPrintsTheWindowTitledWithItsCaption) {
  form.OpenEdit(1, At(1));
  form.show();
  const std::string pdf = t.dir.Path() + "copy.pdf";
  form.printCanvas = [&]() -> std::unique_ptr<PrintCanvas> { return std::make_unique<QtPrintCanvas>(pdf); };
  form.acPrintCopy->trigger();
  ASSERT_TRUE(FileExists(pdf));
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QByteArray printed = text.readAllStandardOutput();
  // pdftotext closes up runs of blanks.
  EXPECT_TRUE(printed.contains("Cotlyn Booking Window. Property 1: Bramble")) << printed.toStdString();
}

// Typing stops at a field's limit, but a longer text from a file (an import, an older
// program) is shown and saved whole.
TEST_F(BookForm, LongerTextsFromAFileAreKeptWhole) {
  Book_Rec r = MakeBooking(kJan + 2, 7, std::string(34, 'S'));
  r.Source = std::string(40, 'w');
  Bookings({r});
  form.OpenEdit(1, At(1));
  form.show();
  EXPECT_EQ(form.fSurName->text().size(), 34);
  form.fSurName->setFocus();
  form.fSurName->end(false);
  QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("x"));
  QApplication::sendEvent(form.fSurName, &key);
  EXPECT_EQ(form.fSurName->text().size(), 34);  // no longer by typing
  Type(form.fPhone, QStringLiteral("01234 567890"));
  form.acSave->trigger();
  EXPECT_EQ(At(1)->Rec.Surname, std::string(34, 'S'));
  EXPECT_EQ(At(1)->Rec.Source, std::string(40, 'w'));
  Type(form.fSurName, QString(40, QLatin1Char('T')));
  EXPECT_EQ(form.fSurName->text().size(), 30);  // a new text stops at the limit
}

// The booking's stored form is opened; a missing one is browsed for and moved into the
// property's "Booking Forms" folder under the booking's name.
TEST_F(BookForm, ShowBookingFormOpensOrAdoptsTheForm) {
  form.OpenEdit(1, At(2));  // Brown, 14 January 2027
  form.show();
  ASSERT_TRUE(form.acBookingForm->isEnabled());
  const std::string chosen = t.dir.Write("Downloads/form from web.pdf", "%PDF");
  form.chooseBookingForm = [&]() { return QString::fromStdString(chosen); };
  t.dialogs.Expect("Booking Form 270114Brown does not exist.\rBrowse for it?", MsgIcon::Confirmation,
                   kYesNo | MsgButton::Help, 284, MsgButton::Yes);
  const std::string stored = t.Root() + "Bramble/Booking Forms/270114Brown.pdf";
  t.dialogs.Expect("File " + chosen + " renamed to " + stored, MsgIcon::Information, kOK, 0, MsgButton::OK);
  form.acBookingForm->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.dir.Read("root/Bramble/Booking Forms/270114Brown.pdf"), "%PDF");
  EXPECT_FALSE(FileExists(chosen));
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{stored});
  form.acBookingForm->trigger();  // found now: opened without a question
  EXPECT_EQ(t.runner.opened, (std::vector<std::string>{stored, stored}));
}

TEST_F(BookForm, HelpAndTheChangeLogCommand) {
  form.OpenEdit(1, At(1));
  const std::string& help = s.common.HelpFolder;
  for (QAction* a : form.findChildren<QAction*>()) {
    if (a->text() == QStringLiteral("Help Index") || a->shortcut() == QKeySequence(Qt::Key_F1)) a->trigger();
  }
  EXPECT_EQ(t.runner.opened, (std::vector<std::string>{help + "keywords.html", help + "200.html"}));
  EXPECT_FALSE(form.acExtractChangeLog->isEnabled());  // only on a change log opened as a file
}

}  // namespace
}  // namespace tb::test
