#include "bookings/BookingEditor.h"

#include <gtest/gtest.h>

#include <vector>

#include "bookings/BookingSources.h"
#include "bookings/BrambleFixture.h"
#include "bookings/WeekTable.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;
const MsgButtons kYesNo = MsgButton::Yes | MsgButton::No;

class Editor : public BrambleFixture {
 protected:
  Editor() : BrambleFixture("ExtChg1=Ret Deposit\n") { s.chartChanged = [this](int n) { redrawn.push_back(n); }; }
  BookingEditor ed{s};
  std::vector<int> redrawn;
};

// ---- Opening and display ------------------------------------------------------------

TEST_F(Editor, NewBookingRunsToTheNextBookingWhenItStartsWithinTheWeek) {
  struct Case {
    int startDay, endDay;
  } cases[] = {{10, 14}, {22, 29}, {24, 31}, {27, 32}};
  for (const Case& c : cases) {
    ed.OpenNew(1, kJan + c.startDay);
    EXPECT_EQ(ed.fields.form.endD, kJan + c.endDay) << c.startDay;
  }
  EXPECT_EQ(ed.View().statusText, "New Booking - complete details");
  EXPECT_EQ(ed.panel[0], "New record");
  EXPECT_EQ(ed.panel[1], "Created 09/12/2026 10:30:00");
  EXPECT_EQ(ed.fields.visits, "1");
  EXPECT_EQ(ed.fields.dateB, EncodeDate(2026, 12, 9));
  EXPECT_EQ(ed.focus, EditorFocus::Surname);
  EXPECT_FALSE(ed.View().navigationEnabled);
  EXPECT_FALSE(ed.View().findEnabled);
  EXPECT_FALSE(ed.Changed());
  EXPECT_TRUE(s.BookFormOpen);
}

TEST_F(Editor, DisplayShowsWhatEachStatusAllows) {
  Book_Rec paid = MakeBooking(kJan + 2, 7, "Paid", Paid);
  Book_Rec acked = MakeBooking(kJan + 9, 7, "Acked", Paid);
  acked.Set(BalAck, true);
  Book_Rec cancelled = MakeBooking(kJan + 16, 7, "Cancelled", Cancelled);
  cancelled.DateD = kJan - 20;
  cancelled.DateR = 0;
  Bookings({MakeBooking(kJan + 1, 1, "Hold"), paid, acked, cancelled, MakeBooking(kJan + 23, 7, "Repay", RepayDeposit),
            MakeBooking(kJan + 30, 7, "Complete", Complete)});
  struct Case {
    const char* status;
    bool depositPaid, balancePaid, showAsLet, refundShown, refundPaid, repay, totalEditable;
  } cases[] = {
      {"Hold", false, false, true, false, false, false, false},
      {"PAID", true, true, false, false, false, false, false},
      {"Paid, sent instructions", true, true, false, false, false, false, false},
      {"Cancelled", true, false, false, true, false, false, true},
      {"Repay Deposit", true, true, false, false, false, true, false},
      {"Complete", true, true, false, true, true, false, false},
  };
  ed.OpenEdit(1, At(1));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    const BookingView v = ed.View();
    EXPECT_EQ(v.statusText, c.status);
    EXPECT_EQ(ed.fields.form.depositPaid, c.depositPaid);
    EXPECT_EQ(v.depositDetailsShown, c.depositPaid);
    EXPECT_EQ(ed.fields.form.balancePaid, c.balancePaid);
    EXPECT_EQ(v.showAsLetShown, c.showAsLet);
    EXPECT_EQ(v.refundShown, c.refundShown);
    EXPECT_EQ(ed.fields.refundPaid, c.refundPaid);
    EXPECT_EQ(v.repayShown, c.repay);
    EXPECT_EQ(v.totalEditable, c.totalEditable);
    EXPECT_EQ(v.totalCaption, c.totalEditable ? "Can.Chg.--" : "TOTAL-----");
    ed.Next();
  }
  ed.OpenEdit(1, At(4));
  EXPECT_EQ(ed.fields.form.dateR, kNotPaid) << "a refund date of 0 shows as not paid";
  EXPECT_EQ(ed.panel[0], "Rec 4 of 6");
}

TEST_F(Editor, OpeningWithoutTheFileHeldTakesItAndShowsTheBookingNowAtThatPlace) {
  ReleaseBookingFile(s);
  // Another user changed the file meanwhile: the list is read afresh.
  WriteWholeFile(File(), BookingFileImage({MakeBooking(kJan + 2, 7, "Adams"), MakeBooking(kJan + 14, 7, "Baker")}));
  s.Prop(1).BookFileAge = 0;
  ed.OpenEdit(1, At(2));
  EXPECT_NE(Log().find("Should not occur. P=1 Bramble. BookForm.FormShow. File read. S=-1"), std::string::npos);
  EXPECT_TRUE(s.BookFile.IsOpen());
  EXPECT_EQ(s.BookFileProp, 1);
  ASSERT_NE(ed.Node(), nullptr);
  EXPECT_EQ(ed.Node()->Rec.Surname, "Baker");
  EXPECT_EQ(ed.fields.form.surname, "Baker");
}

// ---- Navigation and find ------------------------------------------------------------------

TEST_F(Editor, NavigationStopsAtTheEndsAndWhileTheBookingIsChanged) {
  ed.OpenEdit(1, At(1));
  int beeps = t.dialogs.beeps;
  EXPECT_FALSE(ed.Prev());
  EXPECT_EQ(ed.panel[2], "Top of File");
  EXPECT_EQ(t.dialogs.beeps, ++beeps);
  EXPECT_TRUE(ed.Next());
  EXPECT_EQ(ed.fields.form.surname, "Brown");
  EXPECT_EQ(ed.panel[0], "Rec 2 of 3");
  EXPECT_TRUE(ed.Bottom());
  EXPECT_EQ(ed.fields.form.surname, "Clark");
  EXPECT_EQ(ed.panel[2], "Bottom of File");
  EXPECT_FALSE(ed.Next());
  EXPECT_EQ(t.dialogs.beeps, ++beeps);
  EXPECT_TRUE(ed.Top());
  EXPECT_EQ(ed.panel[2], "Top of File");

  ed.fields.phone = "01234";
  ed.FieldChanged();
  EXPECT_FALSE(ed.View().navigationEnabled);
  EXPECT_FALSE(ed.Next());
  EXPECT_FALSE(ed.Find("Clark", true));
  EXPECT_EQ(ed.fields.phone, "01234") << "unsaved changes are kept";
}

TEST_F(Editor, FindSearchesTheTextsCaseInsensitivelyAndRestartsOnANewText) {
  Book_Rec brown = MakeBooking(kJan + 14, 7, "Brown");
  brown.Address = "1 High St\r\nBath";
  Book_Rec clark = MakeBooking(kJan + 32, 7, "Clark");
  clark.Comments = "Wants bath salts";
  Bookings({MakeBooking(kJan + 2, 7, "Adams"), brown, clark});
  ed.OpenEdit(1, At(3));
  ASSERT_TRUE(ed.Find("BATH", true)) << "a new text starts again at the first booking";
  EXPECT_EQ(ed.fields.form.surname, "Brown");
  EXPECT_EQ(ed.focus, EditorFocus::None);
  EXPECT_TRUE(ed.View().findNextEnabled);
  ASSERT_TRUE(ed.FindNext());
  EXPECT_EQ(ed.fields.form.surname, "Clark");
  const int beeps = t.dialogs.beeps;
  EXPECT_FALSE(ed.FindNext());
  EXPECT_EQ(ed.panel[2], "Bottom of File");
  EXPECT_EQ(t.dialogs.beeps, beeps + 1);

  EXPECT_TRUE(ed.Find("adams", false));
  EXPECT_EQ(ed.fields.form.surname, "Adams");
  t.dialogs.Expect("String zzz not found", MsgIcon::Warning, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.Find("zzz", true));
  EXPECT_EQ(ed.fields.form.surname, "Adams");
}

// ---- Field changes --------------------------------------------------------------------------

TEST_F(Editor, AddressKeepsAtMostFiveLines) {
  struct Case {
    const char* text;
    bool ok;
  } cases[] = {
      {"1\r\n2\r\n3\r\n4\r\n5", true},
      {"1\r\n2\r\n3\r\n4\r\n5\r\n", false},
      {"1\r\n2\r\n3\r\n4\r\n5\r\n6", false},
      {"1\n2\n3\n4\n5\n6", false},
  };
  ed.OpenEdit(1, At(1));
  for (const Case& c : cases) {
    ed.fields.address = c.text;
    ed.panel[2].clear();
    const int beeps = t.dialogs.beeps;
    EXPECT_EQ(ed.AddressChanged("before"), c.ok) << c.text;
    EXPECT_EQ(ed.fields.address, c.ok ? c.text : "before");
    EXPECT_EQ(ed.panel[2], c.ok ? "" : "Reached max. number of lines");
    EXPECT_EQ(t.dialogs.beeps, beeps + (c.ok ? 0 : 1));
  }
}

TEST_F(Editor, AmountsAreCheckedOnLeavingAndRecomputedOnChange) {
  Book_Rec done = MakeBooking(kJan + 2, 7, "Adams", Complete);
  done.Rent = 700;
  done.Chg1 = 100;
  done.Total = 800;
  done.Deposit = 200;
  done.Balance = 600;
  done.DateD = kJan - 40;
  done.DateP = kJan - 10;
  Bookings({done});
  ed.OpenEdit(1, At(1));
  // Keeping 60 of the returnable deposit back: what was paid beyond the new total is refunded.
  ed.fields.form.charge[1] = "40";
  ed.AmountChanged(AmountField::Charge1);
  EXPECT_EQ(ed.fields.form.total, "740");
  EXPECT_EQ(ed.fields.refund, "60");
  EXPECT_TRUE(ed.Changed());

  ed.fields.form.deposit = "250";
  ed.AmountChanged(AmountField::Deposit);
  EXPECT_EQ(ed.fields.form.balance, "490");

  for (const char* bad : {"-5", "", "1.2.3"}) {
    ed.fields.form.charge[1] = bad;
    t.dialogs.Expect("Invalid amount", MsgIcon::Error, kOK, 0, MsgButton::OK);
    EXPECT_FALSE(ed.AmountLeft(AmountField::Charge1)) << bad;
    EXPECT_EQ(ed.focus, EditorFocus::Charge1);
  }
}

TEST_F(Editor, DatesAreCheckedAgainstTheOtherBookings) {
  // Adams 2-9, Brown 14-21, a cancelled Dunn 22-29 and Clark 1-8 Feb.
  Bookings({MakeBooking(kJan + 2, 7, "Adams"), MakeBooking(kJan + 14, 7, "Brown"),
            MakeBooking(kJan + 22, 7, "Dunn", Cancelled), MakeBooking(kJan + 32, 7, "Clark")});
  struct Case {
    const char* name;
    int edit;  // position of the booking edited, 0 for a new one
    int start, end;
    uint8_t status;
    std::string error;
  } cases[] = {
      {"start = end", 0, 10, 10, Hold, "Error: Booking end date must be later than start date"},
      {"end before start", 2, 14, 13, Hold, "Error: Booking end date must be later than start date"},
      {"touching both neighbours", 0, 9, 14, Hold, ""},
      {"one day into Brown", 0, 9, 15, Hold, "Error - dates overlap booking 2 which starts 14/01/2027"},
      {"a cancelled booking never overlaps", 0, 9, 15, Cancelled, ""},
      {"over a cancelled booking", 0, 21, 32, Hold, ""},
      {"into Clark, counted past the cancelled one", 0, 25, 33, Hold,
       "Error - dates overlap booking 4 which starts 01/02/2027"},
      {"Brown moved over its own dates", 2, 12, 20, Hold, ""},
      {"Brown moved into Adams", 2, 8, 15, Hold, "Error - dates overlap booking 1 which starts 02/01/2027"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.edit) ed.OpenEdit(1, At(c.edit));
    else ed.OpenNew(1, kJan + c.start);
    ed.fields.form.startD = kJan + c.start;
    ed.fields.form.endD = kJan + c.end;
    ed.fields.form.status = c.status;
    EXPECT_EQ(ed.CheckDates(), c.error);
  }
  EXPECT_NE(Log().find("DATE OVERLAP. P=1 Booking=2 starts 14/01/2027"), std::string::npos);

  // Leaving a picker with a refused date puts the focus back there.
  ed.OpenNew(1, kJan + 10);
  ed.fields.form.endD = kJan + 15;
  t.dialogs.Expect("Error - dates overlap booking 2 which starts 14/01/2027", MsgIcon::Error, kOK, 0,
                   MsgButton::OK);
  EXPECT_FALSE(ed.DateLeft(EditorFocus::EndDate));
  EXPECT_EQ(ed.focus, EditorFocus::EndDate);
}

TEST_F(Editor, ChangedNightsRecalculateTheCharges) {
  ed.OpenEdit(1, At(3));
  ed.fields.form.endD += 7;
  ed.DatesPicked();
  EXPECT_TRUE(ed.Changed());
  EXPECT_EQ(ed.View().noDays, "14");
  EXPECT_EQ(ed.panel[2], "Dates changed - charges recalculated");
}

// ---- Save, close, delete -----------------------------------------------------------------

TEST_F(Editor, SaveWritesTheFileTheChangeLogAndTheLogLine) {
  ed.OpenNew(1, kJan + 10);  // up to Brown's start, touching it
  ed.fields.form.surname = "Evans";
  ed.SurnameChanged();
  ASSERT_TRUE(ed.Save("SAVE"));
  EXPECT_EQ(Surnames(FileRecords(File())), (std::vector<std::string>{"Adams", "Evans", "Brown", "Clark"}));
  const std::vector<Book_Rec> changed = FileRecords(Archive("Changed"));
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].Surname, "Evans");
  EXPECT_EQ(changed[0].EndD, kJan + 14);
  EXPECT_EQ(changed[0].DateUpD, s.clock.Now());
  EXPECT_NE(Log().find("SAVE P=1 Bramble Name=Evans S=H SD=270110"), std::string::npos);
  EXPECT_EQ(ed.Mode(), EditorMode::Edit);
  EXPECT_EQ(ed.panel[0], "Rec 2 of 4");
  EXPECT_EQ(redrawn, std::vector<int>{1});
  EXPECT_FALSE(ed.Changed());
  EXPECT_TRUE(ed.View().navigationEnabled);

  // A day longer runs into Brown, now booking 3: refused, nothing written.
  const std::string before = t.dir.Read("root/Bramble/Data/Bookings.bks");
  ed.fields.form.endD = kJan + 15;
  ed.DatesPicked();
  t.dialogs.Expect("Error - dates overlap booking 3 which starts 14/01/2027\rCannot save", MsgIcon::Error, kOK, 0,
                   MsgButton::OK);
  EXPECT_FALSE(ed.Save("SAVE"));
  EXPECT_EQ(t.dir.Read("root/Bramble/Data/Bookings.bks"), before);
  EXPECT_EQ(FileRecords(Archive("Changed")).size(), 1u);
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 4);
}

TEST_F(Editor, SaveTakesAnEmptySurnameButSaveExitAsksForOne) {
  ed.OpenNew(1, kJan + 22);
  ed.fields.phone = "01234";
  ed.FieldChanged();
  t.dialogs.Expect("Must specify Surname", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.SaveExit());
  EXPECT_EQ(ed.focus, EditorFocus::Surname);
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 3);
  ASSERT_TRUE(ed.Save("SAVE"));
  EXPECT_EQ(FileRecords(File()).size(), 4u);
  EXPECT_NE(Log().find("SAVE P=1 Bramble Name= S=H SD=270122"), std::string::npos);
}

TEST_F(Editor, SaveRefusesAnInvalidAmountAndAddsNothing) {
  ed.OpenNew(1, kJan + 22);
  ed.fields.form.surname = "Evans";
  ed.fields.form.rent = "12a";
  ed.FieldChanged();
  t.dialogs.Expect("Invalid amount\rCannot save", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.Save("SAVE"));
  EXPECT_EQ(ed.focus, EditorFocus::Rent);
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 3);
  EXPECT_EQ(ed.Mode(), EditorMode::New);
  EXPECT_FALSE(FileExists(Archive("Changed")));
}

TEST_F(Editor, ClosingAsksAboutUnsavedChanges) {
  struct Case {
    MsgButton answer;
    bool closes;
    size_t records;
  } cases[] = {{MsgButton::Cancel, false, 3}, {MsgButton::No, true, 3}, {MsgButton::Yes, true, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(ButtonName(c.answer));
    ReadBookings(s, 1, true, false);
    ed.OpenNew(1, kJan + 22);
    ed.fields.form.surname = "Evans";
    ed.SurnameChanged();
    t.dialogs.Expect("Save changes before closing?\r(Cancel returns to editing, No discards changes)",
                     MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Cancel, 0, c.answer);
    EXPECT_EQ(ed.Close(), c.closes);
    EXPECT_EQ(s.BookFormOpen, !c.closes);
    EXPECT_EQ(s.BookFile.IsOpen(), !c.closes);
    EXPECT_EQ(FileRecords(File()).size(), c.records);
    if (!c.closes) {
      t.dialogs.Expect("Quit and lose changes?", MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
      EXPECT_TRUE(ed.Quit());
      EXPECT_TRUE(ed.Close()) << "nothing left to ask";
    }
  }
  EXPECT_NE(Log().find("BF-CLOSE P=1 Bramble Name=Evans S=H SD=270122"), std::string::npos);
}

TEST_F(Editor, DeleteLogsTheBookingWritesTheFileAndLetsItGo) {
  ed.OpenNew(1, kJan + 22);
  t.dialogs.Expect("New booking - not yet saved. Quit without saving to remove", MsgIcon::Information, kOK, 0,
                   MsgButton::OK);
  EXPECT_FALSE(ed.Delete());

  ed.OpenEdit(1, At(2));
  ReleaseBookingFile(s);
  t.dialogs.Expect("QZ1080 Should not occur. File not locked - cannot delete", MsgIcon::Error, kOK, 0,
                   MsgButton::OK);
  EXPECT_FALSE(ed.Delete());
  EXPECT_NE(Log().find("QZ1080 File not locked. CANNOT DELETE. Prop=1 Name=Brown Start=270114"), std::string::npos);

  ReadBookings(s, 1, true, false);  // unchanged file: the list and the node stay
  t.dialogs.Expect("Delete Booking?\r\rProperty: Bramble\rBooking: Brown  14/01/2027 to 21/01/2027",
                   MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  ASSERT_TRUE(ed.Delete());
  EXPECT_EQ(Surnames(FileRecords(File())), (std::vector<std::string>{"Adams", "Clark"}));
  const std::vector<Book_Rec> deleted = FileRecords(Archive("Deleted"));
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].Status, Hold);
  const std::vector<Book_Rec> changed = FileRecords(Archive("Changed"));
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].Surname, "Brown");
  EXPECT_EQ(changed[0].Status, Deleted);
  EXPECT_NE(Log().find("DELETE. Prop=1 Name=Brown Start=270114"), std::string::npos);
  EXPECT_EQ(redrawn, std::vector<int>{1});
  EXPECT_FALSE(s.BookFormOpen);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(Editor, DeletingEveryBookingOfAFileInBookingFileModeDeletesTheFile) {
  s.AppState = 'F';
  s.CurrentProperty = 0;
  s.DirectFile = t.Root() + "Old.bks";
  WriteWholeFile(s.DirectFile,
                 BookingFileImage({MakeBooking(kJan + 2, 7, "Adams"), MakeBooking(kJan + 14, 7, "Brown")}));
  ReadBookings(s, 0, true, false);
  ed.OpenFile();
  EXPECT_EQ(ed.Caption(), "Cotlyn Booking Window.     File: " + s.DirectFile);
  ASSERT_EQ(ed.fields.form.surname, "Adams");

  t.dialogs.Expect("Delete Booking?\r\rProperty: \rBooking: Adams  02/01/2027 to 09/01/2027", MsgIcon::Confirmation,
                   kYesNo, 0, MsgButton::Yes);
  EXPECT_FALSE(ed.Delete());
  EXPECT_EQ(ed.fields.form.surname, "Brown");
  EXPECT_EQ(ed.panel[2], "Deleted");
  EXPECT_EQ(FileRecords(s.DirectFile).size(), 2u) << "booking-file mode writes on closing";

  t.dialogs.Expect("Delete Booking?\r\rProperty: \rBooking: Brown  14/01/2027 to 21/01/2027", MsgIcon::Confirmation,
                   kYesNo, 0, MsgButton::Yes);
  t.dialogs.Expect("All records deleted. Closing", MsgIcon::Warning, kOK, 0, MsgButton::OK);
  EXPECT_TRUE(ed.Delete());
  EXPECT_FALSE(FileExists(s.DirectFile));
  EXPECT_FALSE(s.BookFile.IsOpen());
  EXPECT_FALSE(FileExists(Archive("Changed")));
  EXPECT_FALSE(FileExists(Archive("Deleted")));
}

// ---- Copies and lists ---------------------------------------------------------------------

TEST_F(Editor, TemporaryStorageCopiesTheSavedBookingAndPastesTheCustomerOnly) {
  ed.OpenEdit(1, At(1));
  t.dialogs.Expect("No booking found in temporary storage", MsgIcon::Error, kOK, 0, MsgButton::OK);
  const int beeps = t.dialogs.beeps;
  EXPECT_FALSE(ed.PasteFromTemp());
  EXPECT_EQ(t.dialogs.beeps, beeps + 2);
  EXPECT_EQ(ed.fields.form.surname, "Adams");
  EXPECT_FALSE(ed.Changed());

  ed.Next();
  ASSERT_TRUE(ed.CopyToTemp());
  EXPECT_EQ(ed.panel[2], "Copied");
  ed.Next();
  t.dialogs.Expect("Replace data in the form (except rates and dates)?", MsgIcon::Confirmation, kYesNo, 0,
                   MsgButton::Yes);
  ASSERT_TRUE(ed.PasteFromTemp());
  EXPECT_EQ(ed.fields.form.surname, "Brown");
  EXPECT_EQ(ed.fields.form.startD, kJan + 32) << "dates stay";
  EXPECT_EQ(ed.panel[2], "Pasted data into form.");
  EXPECT_FALSE(ed.View().navigationEnabled);

  ed.OpenNew(1, kJan + 22);
  t.dialogs.Expect("Cannot save booking - no data\rSave booking first?", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.CopyToTemp());
}

TEST_F(Editor, EmailOpensAMailtoLink) {
  ed.OpenEdit(1, At(2));
  ed.fields.email = "  brown@example.com ";
  ASSERT_TRUE(ed.WriteEmail());
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{"mailto:brown%40example.com?Subject=Bramble%2C%20Thursday%2014%20"
                                                      "January%20-%20Thursday%2021%20January%202027"});
  // "&" and "#" in a name stay in the subject instead of ending it.
  s.Prop(1).PropName = "Brook & Co #2";
  ed.fields.email = "o'brien+lets@example.com";
  ASSERT_TRUE(ed.WriteEmail());
  EXPECT_EQ(t.runner.opened.back(), "mailto:o%27brien%2Blets%40example.com?Subject=Brook%20%26%20Co%20%232%2C%20"
                                    "Thursday%2014%20January%20-%20Thursday%2021%20January%202027");
  ed.fields.email = " ";
  t.dialogs.Expect("No email address", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.WriteEmail());
}

TEST(SourceList, OrdersByUseAndFillsUpShortLists) {
  struct Case {
    const char* name;
    std::vector<std::string> oldestFirst;
    std::vector<std::string> offered;
  } cases[] = {
      {"web and agent",
       {"Web", "Agent", "Web", "Web", "Agent", "Web", "Agent", "Web"},
       {"Web", "Agent", "Repeat", "Reference"}},
      {"equal counts keep the newest first", {"B", "B", "A", "A", " ", ""}, {"A", "B", "Repeat", "Reference"}},
      {"a strictly greater count moves ahead",
       {"B", " A ", "A", "B", "B", "C"},
       {"B", "A", "C", "Repeat", "Reference"}},
      {"exact texts", {"Repeat", "web", "Web"}, {"Web", "web", "Repeat", "Reference"}},
      {"at most 12",
       {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m"},
       {"m", "l", "k", "j", "i", "h", "g", "f", "e", "d", "c", "b"}},
  };
  for (const Case& c : cases) {
    BookingList list;
    TDateTime start = kJan;
    for (const std::string& source : c.oldestFirst) {
      Book_Rec r = MakeBooking(start += 7, 7, "X");
      r.Source = source;
      list.Append(r);
    }
    EXPECT_EQ(SourceList(list), c.offered) << c.name;
  }
}

TEST_F(Editor, BookingFormsAreFoundByPrefixAndFollowTheBooking) {
  const std::string forms = t.Root() + "Bramble/Booking Forms/";
  ForceDirectories(forms);
  WriteWholeFile(forms + "270114Brownlow-Smith.htm", "form");
  ed.OpenEdit(1, At(2));
  ed.fields.form.surname = "Brownlow-Smithers";
  BookingFormLookup found = ed.FindBookingForm();
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.name, "270114Brownlow-Smithers");
  EXPECT_EQ(found.path, forms + "270114Brownlow-Smith.htm");

  // Saving the new start and surname renames the form and the letters.
  s.common.NLetters = 2;
  ForceDirectories(t.Root() + "Bramble/Letters");
  WriteWholeFile(t.Root() + "Bramble/Letters/270114L2Brown.rtf", "letter");
  ed.fields.form.surname = "Brownlow-Smith";
  ed.FieldChanged();
  ASSERT_TRUE(ed.Save("SAVE"));
  ed.fields.form.surname = "Green";
  ed.fields.form.startD = kJan + 13;
  ed.fields.form.endD = kJan + 20;
  ed.FieldChanged();
  ASSERT_TRUE(ed.Save("SAVE"));
  EXPECT_TRUE(FileExists(forms + "270113Green.htm"));
  EXPECT_FALSE(FileExists(forms + "270114Brownlow-Smith.htm"));
  EXPECT_TRUE(FileExists(t.Root() + "Bramble/Letters/270113L2Green.rtf"));

  ed.fields.form.surname = " ";
  t.dialogs.Expect("Surname needed", MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 284, MsgButton::Abort);
  EXPECT_FALSE(ed.FindBookingForm().ok);
}

}  // namespace
}  // namespace tb::test
