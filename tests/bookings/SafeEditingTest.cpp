// What the booking window keeps safe when another user saves meanwhile, or when a write
// fails: nothing given up lives on in memory, nothing acknowledged is lost.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include <filesystem>
#include <functional>
#include <vector>

#include "bookings/BookingEditor.h"
#include "bookings/BrambleFixture.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/Frozen.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;
const MsgButtons kYesNo = MsgButton::Yes | MsgButton::No;

std::vector<std::string> FileSurnames(const std::string& path) { return Surnames(FileRecords(path)); }

std::vector<std::string> ListSurnames(const BookingList& list) {
  std::vector<std::string> out;
  for (const Book_Buffer* b = list.First(); b; b = b->Next) out.push_back(b->Rec.Surname);
  return out;
}

class SafeEditing : public BrambleFixture {
 protected:
  SafeEditing() : BrambleFixture("") { s.chartChanged = [this](int n) { redrawn.push_back(n); }; }
  // A new booking of `surname` from `start`, saved (or not) through the window's engine.
  bool Book(BookingEditor& editor, TDateTime start, const std::string& surname) {
    editor.OpenNew(1, start);
    editor.fields.form.surname = surname;
    editor.SurnameChanged();
    return editor.Save("SAVE");
  }
  // The box a failed write through the held handle shows, for `bytes` bytes.
  void ExpectShortWrite(size_t bytes) {
    t.dialogs.Expect("QZ1080 Should not occur. Wrote 0 bytes v. req=" + std::to_string(bytes) + "\rTry again?",
                     MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1080, MsgButton::Abort);
  }
  BookingEditor ed{s};
  std::vector<int> redrawn;
};

// B looks at a booking read-only while A saves one; B's next click for editing must
// start from A's file, or B's save would write A's booking away.
TEST_F(SafeEditing, AReadOnlyLookNeverHidesAnotherUsersSave) {
  TestSession other;
  other.JoinRoot(t);
  Session& b = other.session;
  // The file as B reads it is an hour old, so that A's save cannot share its time.
  const struct timespec hourAgo = {std::time(nullptr) - 3600, 0};
  const struct timespec times[2] = {hourAgo, hourAgo};
  ASSERT_EQ(::utimensat(AT_FDCWD, File().c_str(), times, 0), 0);
  ASSERT_TRUE(ReadBookings(b, 1, true, false));
  EXPECT_TRUE(b.FileReadOnly);  // A holds the file

  ASSERT_TRUE(Book(ed, kJan + 22, "Evans"));
  ASSERT_TRUE(ed.Close());

  ReleaseBookingFile(b);  // B's read-only window closes
  EXPECT_TRUE(ReadBookings(b, 1, false, true)) << "B's refresh sees A's save";
  EXPECT_EQ(b.Prop(1).Bookings.Count(), 4);
  ReadBookings(b, 1, true, false);  // B clicks to edit
  EXPECT_FALSE(b.FileReadOnly);
  BuildWeekTable(b, 1, false);  // as B's chart draws it
  BookingEditor second(b);
  second.OpenNew(1, kJan + 40);
  second.fields.form.surname = "Fox";
  second.SurnameChanged();
  ASSERT_TRUE(second.Save("SAVE"));
  EXPECT_EQ(FileSurnames(File()), (std::vector<std::string>{"Adams", "Brown", "Evans", "Clark", "Fox"}));
}

// A save whose change-log append or file write failed, then given up: the list is the
// file's again, and the next save of another booking writes nothing of it.
TEST_F(SafeEditing, AGivenUpSaveLeavesNothingBehindInTheList) {
  // The change log cannot be appended to (a folder stands in its place).
  ASSERT_TRUE(ForceDirectories(Archive("Changed")));
  t.dialogs.Expect("E1015 Cannot write to file " + PathText(Archive("Changed")) + "\rCheck folder permissions",
                   MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1015, MsgButton::Abort);
  EXPECT_FALSE(Book(ed, kJan + 22, "Evans"));
  EXPECT_EQ(ListSurnames(s.Prop(1).Bookings), (std::vector<std::string>{"Adams", "Brown", "Evans", "Clark"}));
  t.dialogs.Expect("Quit and lose changes?", MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  ASSERT_TRUE(ed.Quit());
  ASSERT_TRUE(ed.Close());
  EXPECT_EQ(ListSurnames(s.Prop(1).Bookings), (std::vector<std::string>{"Adams", "Brown", "Clark"}));
  EXPECT_EQ(s.Prop(1).ListModified, 0);
  EXPECT_FALSE(redrawn.empty());  // the chart drops it too

  // The booking file cannot be written: an edit of Brown given up.
  std::filesystem::remove(Archive("Changed"));
  ReadBookings(s, 1, true, false);
  ed.OpenEdit(1, At(2));
  ed.fields.form.surname = "Browne";
  ed.FieldChanged();
  {
    Frozen frozen(File());
    if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
    ExpectShortWrite(BookingsImage(s.Prop(1).Bookings).size() + 1);
    EXPECT_FALSE(ed.Save("SAVE"));
  }
  EXPECT_EQ(s.Prop(1).Bookings.At(2)->Rec.Surname, "Browne");
  t.dialogs.Expect("Save changes before closing?\r(Cancel returns to editing, No discards changes)",
                   MsgIcon::Confirmation, kYesNo | MsgButton::Cancel, 0, MsgButton::No);
  ASSERT_TRUE(ed.Close());
  EXPECT_EQ(ListSurnames(s.Prop(1).Bookings), (std::vector<std::string>{"Adams", "Brown", "Clark"}));

  // The next save of another booking writes only what it changed.
  ReadBookings(s, 1, true, false);
  ed.OpenEdit(1, At(3));
  ed.fields.phone = "01234";
  ed.FieldChanged();
  ASSERT_TRUE(ed.Save("SAVE"));
  EXPECT_EQ(FileSurnames(File()), (std::vector<std::string>{"Adams", "Brown", "Clark"}));
  t.dialogs.VerifyAllShown();
}

// A save into a folder that takes no new files (a share gone read-only, a full disk)
// cannot write its journal: it says so, the file stays as it was, the work stays in the
// window, and the next save, once the folder is writable, writes it.
TEST_F(SafeEditing, ASaveThatCannotStartLeavesTheFileAndKeepsTheWork) {
  ed.OpenEdit(1, At(2));
  ed.fields.form.surname = "Browne";
  ed.FieldChanged();
  const std::string before = t.dir.Read("root/Bramble/Data/Bookings.bks");
  {
    Frozen folder(t.Root() + "Bramble/Data");
    if (!folder.Ok()) GTEST_SKIP() << "cannot make a folder immutable here";
    ExpectShortWrite(BookingsImage(s.Prop(1).Bookings).size() + 1);
    EXPECT_FALSE(ed.Save("SAVE"));
  }
  EXPECT_EQ(t.dir.Read("root/Bramble/Data/Bookings.bks"), before);
  EXPECT_FALSE(FileExists(SharedFile::JournalPath(File())));
  EXPECT_TRUE(ed.Changed());
  ASSERT_TRUE(ed.Save("SAVE"));
  EXPECT_EQ(FileSurnames(File()), (std::vector<std::string>{"Adams", "Browne", "Clark"}));
  t.dialogs.VerifyAllShown();
}

// Deleting the last booking deletes the file; when it cannot go, that is said and the
// booking stays, in the file and, once the window closes, in the list.
TEST_F(SafeEditing, TheLastBookingStaysWhenItsFileCannotBeDeleted) {
  Bookings({MakeBooking(kJan + 2, 7, "Adams")});
  ed.OpenEdit(1, At(1));
  Frozen frozen(File());
  if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
  t.dialogs.Expect("Delete Booking?\r\rProperty: Bramble\rBooking: Adams  02/01/2027 to 09/01/2027",
                   MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  t.dialogs.Expect("Cannot delete file " + PathText(File()), MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.Delete());
  frozen.Thaw();
  EXPECT_EQ(FileSurnames(File()), std::vector<std::string>{"Adams"});
  EXPECT_FALSE(s.WebDataDue);
  ASSERT_TRUE(ed.Close());
  EXPECT_EQ(ListSurnames(s.Prop(1).Bookings), std::vector<std::string>{"Adams"});
  t.dialogs.VerifyAllShown();
}

// Booking-file mode writes its deletions and new order when the window closes: a
// failure is said, and the window stays unless the user lets the changes go.
TEST_F(SafeEditing, BookingFileModeSaysWhenItsFileCannotBeWritten) {
  const std::string archive = Archive("Old");
  WriteWholeFile(archive, BookingFileImage({MakeBooking(kJan + 9, 7, "Later"), MakeBooking(kJan + 2, 7, "Earlier")}));
  s.DirectFile = archive;
  ReadBookings(s, 0, true, false);
  ASSERT_TRUE(SortBookings(s, 0));
  s.Prop(0).ListModified = 1;
  BookingEditor file(s);
  file.OpenFile();
  Frozen frozen(archive);
  if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
  const std::string ask = "The booking file could not be written: " + PathText(archive) +
                          "\rRetry: write it again\rCancel: keep the window open\rIgnore: close it and lose the changes";
  const MsgButtons choices = MsgButton::Cancel | MsgButton::Retry | MsgButton::Ignore;
  const size_t bytes = BookingsImage(s.Prop(0).Bookings).size();
  ExpectShortWrite(bytes);
  t.dialogs.Expect(ask, MsgIcon::Warning, choices, 0, MsgButton::Cancel);
  EXPECT_FALSE(file.Close());
  EXPECT_TRUE(s.BookFormOpen);
  for (const MsgButton answer : {MsgButton::Retry, MsgButton::Ignore}) {
    ExpectShortWrite(bytes);
    t.dialogs.Expect(ask, MsgIcon::Warning, choices, 0, answer);
  }
  EXPECT_TRUE(file.Close());
  EXPECT_FALSE(s.BookFormOpen);
  frozen.Thaw();
  EXPECT_EQ(FileSurnames(archive), (std::vector<std::string>{"Later", "Earlier"}));  // as it was

  // The last booking of the file: when the file cannot be deleted, it keeps its bookings.
  ReadBookings(s, 0, true, false);
  file.OpenFile();
  Frozen again(archive);
  // Read again as the file holds it (the sorted order was never written).
  t.dialogs.Expect("Delete Booking?\r\rProperty: \rBooking: Later  09/01/2027 to 16/01/2027", MsgIcon::Confirmation,
                   kYesNo, 0, MsgButton::Yes);
  ASSERT_FALSE(file.Delete());  // the next one is shown
  t.dialogs.Expect("Delete Booking?\r\rProperty: \rBooking: Earlier  02/01/2027 to 09/01/2027", MsgIcon::Confirmation,
                   kYesNo, 0, MsgButton::Yes);
  t.dialogs.Expect("All records deleted. Closing", MsgIcon::Warning, kOK, 0, MsgButton::OK);
  t.dialogs.Expect("Cannot delete file " + PathText(archive), MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_TRUE(file.Delete());
  again.Thaw();
  EXPECT_EQ(FileSurnames(archive).size(), 2u);
  t.dialogs.VerifyAllShown();
}

// A booking whose save failed, then deleted: quitting must not put its old record over
// the booking shown after it.
TEST_F(SafeEditing, AFailedSaveThenADeletionInABookingFileLosesNothingElse) {
  const std::string archive = Archive("Old");
  WriteWholeFile(archive, BookingFileImage({MakeBooking(kJan + 2, 7, "Earlier"), MakeBooking(kJan + 9, 7, "Later")}));
  s.DirectFile = archive;
  ReadBookings(s, 0, true, false);
  BookingEditor file(s);
  file.OpenFile();
  file.fields.phone = "0161";
  file.FieldChanged();
  {
    Frozen frozen(archive);
    if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
    ExpectShortWrite(BookingsImage(s.Prop(0).Bookings).size() + 4);
    EXPECT_FALSE(file.Save("SAVE"));
  }
  t.dialogs.Expect("Delete Booking?\r\rProperty: \rBooking: Earlier  02/01/2027 to 09/01/2027", MsgIcon::Confirmation,
                   kYesNo, 0, MsgButton::Yes);
  EXPECT_FALSE(file.Delete());
  ASSERT_TRUE(file.Quit());
  ASSERT_TRUE(file.Close());
  const std::vector<Book_Rec> left = FileRecords(archive);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Surname, "Later");
  EXPECT_EQ(left[0].StartD, kJan + 9);
  t.dialogs.VerifyAllShown();
}

// "Extract data from change log" is for a change log opened as a booking file, and
// waits for the booking on show to be saved.
TEST_F(SafeEditing, TheChangeLogIsExtractedOnlyWithNothingUnsaved) {
  const std::string log = Archive("Changed");
  WriteWholeFile(log, BookingFileImage({MakeBooking(kJan + 2, 7, "Adams")}));
  s.DirectFile = log;
  ReadBookings(s, 0, true, false);
  BookingEditor file(s);
  file.OpenFile();
  EXPECT_TRUE(file.IsChangeLog());
  EXPECT_TRUE(file.MayExtractFromChangeLog());
  file.fields.phone = "0161";
  file.FieldChanged();
  t.dialogs.Expect("Booking record changed.\rSave and rerun", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(file.MayExtractFromChangeLog());
  t.dialogs.VerifyAllShown();
  ed.OpenEdit(1, At(1));
  EXPECT_FALSE(ed.IsChangeLog());  // a property's own bookings
}

// However the dates were changed, a save that moves a booking marks the agency calendar,
// and every save and deletion marks the web data.
TEST_F(SafeEditing, EverySaveThatMovesABookingReachesTheAgencyCalendar) {
  std::vector<int> uploads;
  s.agencyCalendarUpload = [&uploads](Session& session, int n) {
    uploads.push_back(n);
    session.Prop(n).DatesChanged = 0;
  };
  struct Case {
    const char* what;
    std::function<void(BookingFields&)> change;
    bool upload;
  } cases[] = {
      {"phone only", [](BookingFields& f) { f.phone = "0161"; }, false},
      {"end date typed, never left", [](BookingFields& f) { f.form.endD += 1; }, true},
      {"both dates moved", [](BookingFields& f) { f.form.startD -= 1; f.form.endD -= 1; }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    uploads.clear();
    s.WebDataDue = false;
    ReadBookings(s, 1, true, false);
    ed.OpenEdit(1, At(2));
    c.change(ed.fields);
    ed.FieldChanged();
    ASSERT_TRUE(ed.Save("SAVE"));
    EXPECT_EQ(uploads, c.upload ? std::vector<int>{1} : std::vector<int>{});
    EXPECT_TRUE(s.WebDataDue);
    ASSERT_TRUE(ed.Close());
  }
  ReadBookings(s, 1, true, false);
  ed.OpenEdit(1, At(1));
  s.WebDataDue = false;
  uploads.clear();
  t.dialogs.Expect("Delete Booking?\r\rProperty: Bramble\rBooking: Adams  02/01/2027 to 09/01/2027",
                   MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  ASSERT_TRUE(ed.Delete());
  EXPECT_EQ(uploads, std::vector<int>{1});
  EXPECT_TRUE(s.WebDataDue);
}

}  // namespace
}  // namespace tb::test
