// Recovery from the change log: which saves survive, the questions, the run's log, the
// one write of the result, and what stops a run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bookings/Recovery.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/SharedFile.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kJun = EncodeDate(2026, 6, 1) - 1;  // kJun + d is d June 2026
const MsgButtons kYesNo = MsgButton::Yes | MsgButton::No;
const MsgButtons kYesCancel = MsgButton::Yes | MsgButton::Cancel;

// A save of a booking: start, nights, surname, status, and when it was saved (days
// into May 2026, at noon).
Book_Rec Save(TDateTime start, int nights, const std::string& surname, int savedOnMay, uint8_t status = Hold) {
  Book_Rec r = MakeBooking(start, nights, surname, status);
  r.DateB = EncodeDate(2026, 3, 1);
  r.Fnames = "Ann";
  r.DateUpD = EncodeDate(2026, 5, savedOnMay) + 0.5;
  return r;
}

class Recovery : public ::testing::Test {
 protected:
  Recovery() { t.Load(SimpleSettings(1)); }

  // The change log as booking-file mode holds it: saves in order, then by start date.
  static BookingList ChangeLog(const std::vector<Book_Rec>& saves) {
    BookingList list;
    for (const Book_Rec& r : saves) list.Append(r);
    list.SortByStart();
    return list;
  }
  RecoveryOutcome Run(const std::vector<Book_Rec>& saves, const std::string& backup = "") {
    lines.clear();
    const BookingList log = ChangeLog(saves);
    return RecoverFromChangeLog(s, log, backup, [this](const std::string& line) { lines.push_back(line); });
  }
  std::string Backup(const std::vector<Book_Rec>& records) {
    const std::string path = t.dir.Path() + "backup.bks";
    WriteWholeFile(path, BookingFileImage(records));
    return path;
  }
  std::string Output() const { return RecoveryFilePath(s); }
  std::string OutputBytes() const {
    std::string data;
    ReadWholeFile(Output(), data);
    return data;
  }
  bool Logged(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

  TestSession t;
  Session& s = t.session;
  std::vector<std::string> lines;
};

// Which saves make the recovered file, for change logs of one kind of history each.
struct Case {
  const char* name;
  std::vector<Book_Rec> saves;
  std::vector<std::string> recovered;  // surnames in file order
};

class RecoveryCases : public Recovery, public ::testing::WithParamInterface<Case> {};

TEST_P(RecoveryCases, KeepsTheLatestSaveOfEachBooking) {
  const Case& c = GetParam();
  EXPECT_EQ(Run(c.saves), RecoveryOutcome::Written);
  EXPECT_EQ(Surnames(FileRecords(Output())), c.recovered);
  t.dialogs.VerifyAllShown();
}

INSTANTIATE_TEST_SUITE_P(
    ChangeLogs, RecoveryCases,
    ::testing::Values(
        Case{"SavedThreeTimes",
             {Save(kJun + 6, 7, "Adams", 1), Save(kJun + 6, 7, "Adams", 2), Save(kJun + 6, 7, "Adams", 3)},
             {"Adams"}},
        Case{"CancelledAndReLet",
             {Save(kJun + 6, 7, "Adams", 1), Save(kJun + 6, 7, "Adams", 2, Cancelled),
              Save(kJun + 6, 7, "Brown", 3)},
             {"Adams", "Brown"}},
        Case{"TwoCancellationsOfDifferentCustomers",
             {Save(kJun + 6, 7, "Adams", 1, Cancelled), Save(kJun + 6, 7, "Brown", 2, Cancelled)},
             {"Adams", "Brown"}},
        Case{"Deleted",
             {Save(kJun + 6, 7, "Adams", 1), Save(kJun + 13, 7, "Brown", 2), Save(kJun + 6, 7, "Adams", 3, Deleted)},
             {"Brown"}}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

TEST_F(Recovery, TheLastSaveIsWrittenWholeAsAppendsWouldWriteIt) {
  Book_Rec last = Save(kJun + 6, 7, "Adams", 3, DepositPaid);
  last.Address = "1 High St\r\nBath";
  last.Comments = "Late arrival";
  ASSERT_EQ(Run({Save(kJun + 6, 7, "Adams", 1), Save(kJun + 6, 7, "Adams", 2), last}), RecoveryOutcome::Written);
  EXPECT_EQ(OutputBytes(), BookingFileImage({last}));
}

// A customer who moved a booking: asked once; Yes keeps the later save only, whichever
// of the two comes first by date; No keeps both.
TEST_F(Recovery, AMovedBookingIsAskedAbout) {
  const Book_Rec june = Save(kJun + 6, 7, "Clark", 1);
  const Book_Rec july = Save(kJun + 36, 7, "Clark", 2);
  const std::string question =
      "2 bookings from same person found. Did they change dates?\r"
      "1 Name=Clark Start:06/06/2026 End:13/06/2026 Booked:01/03/2026 Last update=01/05/2026 12:00:00\r"
      "2 Name=Clark Start:06/07/2026 End:13/07/2026 Booked:01/03/2026 Last update=02/05/2026 12:00:00\r"
      "Remove oldest booking? (NO keeps both)";
  for (MsgButton answer : {MsgButton::Yes, MsgButton::No}) {
    SCOPED_TRACE(ButtonName(answer));
    DeleteFileAt(Output());
    t.dialogs.Expect(question, MsgIcon::Confirmation, kYesNo, 0, answer);
    EXPECT_EQ(Run({june, july}), RecoveryOutcome::Written);
    t.dialogs.VerifyAllShown();
    const std::vector<Book_Rec> out = FileRecords(Output());
    if (answer == MsgButton::Yes) {
      ASSERT_EQ(out.size(), 1u);
      EXPECT_EQ(out[0].StartD, july.StartD);
      EXPECT_TRUE(Logged("Discarded booking (date change): Surname=Clark Booking start=06/06/2026 "
                         "L.Update=01/05/2026 12:00:00"));
    } else {
      EXPECT_EQ(out.size(), 2u);
    }
  }
  // Moved back from July to June: the June save is the later one and stays.
  DeleteFileAt(Output());
  t.dialogs.permissive = true;
  EXPECT_EQ(Run({july, Save(kJun + 6, 7, "Clark", 3)}), RecoveryOutcome::Written);
  const std::vector<Book_Rec> out = FileRecords(Output());
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].StartD, june.StartD);
}

// The whole log of a run merged with a backup: the backup's bookings up to the cut-off,
// a newer save of one of them winning, an older one left out, a deletion dropped.
TEST_F(Recovery, MergedWithABackupTheLogTellsEveryStep) {
  const std::string backup = Backup({Save(kJun + 6, 7, "Adams", 5), Save(kJun + 20, 7, "Evans", 4)});
  const Book_Rec newer = Save(kJun + 6, 7, "Adams", 7, Paid);
  EXPECT_EQ(Run({Save(kJun + 6, 7, "Adams", 3), newer, Save(kJun + 13, 7, "Frank", 8),
                 Save(kJun + 13, 7, "Frank", 9, Deleted), Save(kJun + 27, 7, "Gray", 2)},
                backup),
            RecoveryOutcome::Written);
  const std::string path = PathText(Output());
  const std::vector<std::string> expected = {
      "Loaded backup file. 2 records. Most recent update=05/05/2026 12:00:00",
      "",
      "-----Starting pass 1. Extracting records from Change Log",
      "Recovered booking. Surname=Adams Booking start=06/06/2026 L.Update=07/05/2026 12:00:00",
      "Recovered booking. Surname=Frank Booking start=13/06/2026 L.Update=09/05/2026 12:00:00",
      "Recovered 2 records from change log",
      "",
      "-----Starting pass 2. Checking for bookings where dates have changed",
      "End of check for bookings where date changed. Total discarded = 0",
      "",
      "-----Starting pass 3. Checking for superceded bookings and deleted bookings etc",
      "Dropped superceded booking: Name Adams Booking start=06/06/2026 L.Update=05/05/2026 12:00:00",
      "Dropped deleted booking: Name Frank Booking start=13/06/2026 L.Update=09/05/2026 12:00:00",
      "Written 2 bookings to recovery file: " + path,
      "--------RECOVERY COMPLETE-----------"};
  EXPECT_EQ(lines, expected);
  const std::vector<Book_Rec> out = FileRecords(Output());
  ASSERT_EQ(Surnames(out), (std::vector<std::string>{"Adams", "Evans"}));
  EXPECT_EQ(out[0].Status, Paid);
}

TEST_F(Recovery, ABackupNewerThanEveryRecordLeavesNothingToRecover) {
  const std::string backup = Backup({Save(kJun + 6, 7, "Adams", 20)});
  EXPECT_EQ(Run({Save(kJun + 6, 7, "Adams", 3), Save(kJun + 13, 7, "Brown", 19)}, backup),
            RecoveryOutcome::NothingToRecover);
  EXPECT_EQ(lines.back(), "No records in change log more recent than in backup file. Nothing to recover");
  EXPECT_FALSE(FileExists(Output()));
}

// An earlier result is asked about: Cancel keeps it, Yes replaces it.
TEST_F(Recovery, AnEarlierRecoveryFileIsReplacedOnlyWhenTheUserSaysSo) {
  WriteWholeFile(Output(), "earlier");
  const std::string question = "Recovery File exists = " + PathText(Output()) + "\rDelete it?";
  t.dialogs.Expect(question, MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Cancel);
  EXPECT_EQ(Run({Save(kJun + 6, 7, "Adams", 1)}), RecoveryOutcome::Stopped);
  EXPECT_EQ(OutputBytes(), "earlier");
  EXPECT_TRUE(lines.empty());
  t.dialogs.Expect(question, MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
  EXPECT_EQ(Run({Save(kJun + 6, 7, "Adams", 1)}), RecoveryOutcome::Written);
  EXPECT_EQ(OutputBytes(), BookingFileImage({Save(kJun + 6, 7, "Adams", 1)}));
  t.dialogs.VerifyAllShown();
}

// A backup that is missing or held by another writer stops the run before anything is
// written or deleted, an earlier result included.
TEST_F(Recovery, AMissingOrLockedBackupWritesNothing) {
  WriteWholeFile(Output(), "earlier");
  const std::string question = "Recovery File exists = " + PathText(Output()) + "\rDelete it?";
  t.dialogs.Expect(question, MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
  t.dialogs.Expect("Specified file to merge does not exist", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_EQ(Run({Save(kJun + 6, 7, "Adams", 1)}, "  " + t.dir.Path() + "none.bks "), RecoveryOutcome::Stopped);

  const std::string backup = Backup({Save(kJun + 6, 7, "Adams", 1)});
  SharedFile holder;
  ASSERT_EQ(holder.OpenReadWriteDenyWriters(backup), SharedFile::Result::Ok);
  t.dialogs.Expect(question, MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
  t.dialogs.Expect("Error 1150. Cannot lock: " + PathText(backup), MsgIcon::Error, MsgButton::OK | MsgButton::Help,
                   1150, MsgButton::OK);
  EXPECT_EQ(Run({Save(kJun + 6, 7, "Adams", 2)}, backup), RecoveryOutcome::Stopped);
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(OutputBytes(), "earlier");
}

// A recovery file that cannot be written is said so, and the run never claims success.
TEST_F(Recovery, AFailedWriteEndsWithoutTheSuccessLines) {
  ASSERT_TRUE(ForceDirectories(Output() + "/"));  // a folder where the file would go
  t.dialogs.Expect("Unable to write to recovery file = " + PathText(Output()), MsgIcon::Error, MsgButton::OK, 0,
                   MsgButton::OK);
  EXPECT_EQ(Run({Save(kJun + 6, 7, "Adams", 1)}), RecoveryOutcome::Stopped);
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(lines.back(), "-----Starting pass 3. Checking for superceded bookings and deleted bookings etc");
}

// A damaged backup ends the run through the corrupt-data stop, before anything is written.
TEST_F(Recovery, ADamagedBackupEndsTheRunWithError1220) {
  std::string whole = BookingFileImage({Save(kJun + 6, 7, "Adams", 1), Save(kJun + 13, 7, "Brown", 2)});
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"one byte short", whole.substr(0, whole.size() - 1)},
      {"cut inside the fixed fields", whole.substr(0, whole.size() / 2 + 40)},
      {"garbage", std::string(500, '\xff')},
      {"a stray byte after the records", whole + "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = t.dir.Path() + "damaged.bks";
    WriteWholeFile(path, c.bytes);
    t.dialogs.permissive = true;
    t.dialogs.shown.clear();
    int code = 0;
    try {
      Run({Save(kJun + 6, 7, "Adams", 3)}, path);
    } catch (const ProcessExit& e) {
      code = e.code;
    }
    EXPECT_EQ(code, 1220);
    ASSERT_FALSE(t.dialogs.shown.empty());
    EXPECT_EQ(t.dialogs.shown.back().text,
              "Error 1220. Corrupt structure in Booking file =" + PathText(path) + "\rRead Help");
    EXPECT_FALSE(FileExists(Output()));
  }
}

}  // namespace
}  // namespace tb::test
